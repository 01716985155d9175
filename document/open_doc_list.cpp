#include "document/open_doc_list.h"

#include <algorithm>
#include <vector>

#include "document/pelmark_doc.h"

namespace document {

namespace {

struct Entry {
    CPelmarkDoc* doc;
    QString path;
};

std::vector<Entry>& Entries() {
    static std::vector<Entry> entries;
    return entries;
}

auto Find(const CPelmarkDoc* doc) {
    return std::find_if(Entries().begin(), Entries().end(),
                        [doc](const Entry& e) { return e.doc == doc; });
}

}  // namespace

int AddOpenDocument(CPelmarkDoc* doc, const QString& path) {
    std::vector<Entry>& entries = Entries();
    if (!doc || Find(doc) != entries.end() || int(entries.size()) >= kOpenDocListMax) return -1;
    entries.push_back({doc, path});
    doc->m_nOpenListSlot = int32_t(entries.size() - 1);
    return doc->m_nOpenListSlot;
}

void RemoveOpenDocument(CPelmarkDoc* doc) {
    std::vector<Entry>& entries = Entries();
    auto it = Find(doc);
    if (it == entries.end()) return;
    it = entries.erase(it);
    for (; it != entries.end(); ++it) it->doc->m_nOpenListSlot = int32_t(it - entries.begin());
    doc->m_nOpenListSlot = -1;
}

void FollowOpenDocumentPath(CPelmarkDoc* doc, const QString& path) {
    if (path.isEmpty()) return;
    auto it = Find(doc);
    if (it == Entries().end()) AddOpenDocument(doc, path);
    else it->path = path;
}

bool HasOpenDocumentEntry(const CPelmarkDoc* doc) { return Find(doc) != Entries().end(); }

int OpenDocumentCount() { return int(Entries().size()); }

QStringList OpenDocumentPaths() {
    QStringList paths;
    for (const Entry& e : Entries()) paths << e.path;
    return paths;
}

}  // namespace document

// The program-wide list of open documents: one whole path per document, in
// the order the documents were first shown. A view adds its document at its
// first paint; a document leaves the list when it is destroyed; the main
// frame writes the list when the program closes, so the next start can open
// the same documents again.
#pragma once

#include <QString>
#include <QStringList>

class CPelmarkDoc;

namespace document {

inline constexpr int kOpenDocListMax = 100;

// Appends the document's path when the document has no entry yet and the
// list holds fewer than kOpenDocListMax; the document's m_nOpenListSlot
// becomes its place. Returns the place, or -1 when nothing was added.
int AddOpenDocument(CPelmarkDoc* doc, const QString& path);
// Removes the document's entry: the later entries move up one place, and
// their documents' places with them; the document's place becomes -1.
// Nothing when the document has no entry.
void RemoveOpenDocument(CPelmarkDoc* doc);
bool HasOpenDocumentEntry(const CPelmarkDoc* doc);
// The document now has this path (a Save As): its entry follows, or, for a
// document that had no file, it is added as AddOpenDocument adds it.
void FollowOpenDocumentPath(CPelmarkDoc* doc, const QString& path);

int OpenDocumentCount();
// The paths in list order.
QStringList OpenDocumentPaths();

}  // namespace document

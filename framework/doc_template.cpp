#include "framework/doc_template.h"

#include <algorithm>

#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>

#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/document.h"
#include "framework/framework_strings.h"
#include "framework/mdi_frame.h"
#include "framework/view.h"
#include "framework/wait_cursor.h"

namespace framework {

DocTemplate::DocTemplate(int resourceId, DocumentFactory document, FrameFactory frame,
                         ViewFactory view)
    : resourceId_(resourceId),
      documentFactory_(std::move(document)),
      frameFactory_(std::move(frame)),
      viewFactory_(std::move(view)) {}

DocTemplate::~DocTemplate() {
    // Documents still open go with their template.
    while (!documents_.empty()) {
        Document* document = documents_.back();
        documents_.pop_back();
        document->SetDocTemplate(nullptr);
        document->SetAutoDelete(false);
        for (ChildFrame* frame : document->GetFrames()) frame->Destroy();
        delete document;
    }
}

bool DocTemplate::MatchesPath(const QString& path) const {
    if (extensions_.isEmpty()) return true;
    QString suffix = QFileInfo(path).suffix();
    return std::any_of(extensions_.begin(), extensions_.end(), [&](const QString& e) {
        return e.compare(suffix, Qt::CaseInsensitive) == 0;
    });
}

MdiFrame* DocTemplate::GetMdiFrame() const {
    Application* app = Application::Instance();
    return app ? app->GetMainFrame() : nullptr;
}

Document* DocTemplate::CreateNewDocument() {
    if (!documentFactory_) return nullptr;
    std::unique_ptr<Document> document = documentFactory_();
    if (!document) return nullptr;
    Document* raw = document.release();
    AddDocument(raw);
    return raw;
}

ChildFrame* DocTemplate::CreateNewFrame(Document* document) {
    MdiFrame* main = GetMdiFrame();
    if (!main || !frameFactory_ || !viewFactory_) return nullptr;
    std::unique_ptr<ChildFrame> frame = frameFactory_();
    if (!frame) return nullptr;
    CreateContext context{document, this};
    if (!frame->OnCreate(context)) return nullptr;
    std::unique_ptr<View> view = viewFactory_();
    if (!view) return nullptr;
    View* rawView = view.get();
    frame->view_ = rawView;
    rawView->frame_ = frame.get();
    if (!frame->OnCreateClient(rawView, context)) {
        if (rawView->parent()) {
            view.release();  // the frame holds it now and deletes it
        } else {
            frame->view_ = nullptr;
            rawView->frame_ = nullptr;
        }
        return nullptr;
    }
    if (!rawView->parent()) {
        // An override that did not place the view: it still belongs to the frame.
        frame->setWidget(rawView);
    }
    view.release();
    if (document) rawView->SetDocument(document);
    ChildFrame* raw = frame.release();
    main->AddChildFrame(raw);
    return raw;
}

void DocTemplate::InitialUpdateFrame(ChildFrame* frame, Document* document, bool makeVisible) {
    if (!frame) return;
    QPointer<ChildFrame> guard(frame);
    if (View* view = frame->GetActiveView()) view->OnInitialUpdate();
    if (!guard || frame->IsDestroyed()) return;
    if (document) document->UpdateFrameTitles();
    else frame->OnUpdateFrameTitle();
    if (makeVisible) frame->ActivateFrame();
}

void DocTemplate::SetDefaultTitle(Document* document) {
    QString title = docName_.isEmpty() ? FrameworkString(IDS_UNTITLED)
                                       : docName_ + QString::number(untitledCount_ + 1);
    document->SetTitle(title);
}

Document* DocTemplate::OpenDocumentFile(const QString& path, bool makeVisible) {
    Document* document = CreateNewDocument();
    if (!document) return nullptr;
    bool autoDelete = document->AutoDelete();
    document->SetAutoDelete(false);  // nothing may delete it while it is made
    ChildFrame* frame = CreateNewFrame(document);
    QPointer<ChildFrame> frameGuard(frame);
    auto discard = [&]() -> Document* {
        document->SetAutoDelete(false);
        delete frameGuard.data();  // never shown: deleting it at once is safe
        delete document;
        return nullptr;
    };
    if (!frame) return discard();
    bool ok;
    if (path.isEmpty()) {
        SetDefaultTitle(document);
        ok = document->OnNewDocument();
        if (ok) ++untitledCount_;
    } else {
        {
            WaitCursor wait;
            ok = document->OnOpenDocument(path);
        }
        if (ok) document->SetPathName(path);
    }
    if (!ok) return discard();
    document->SetAutoDelete(autoDelete);
    InitialUpdateFrame(frame, document, makeVisible);
    return document;
}

Document* DocTemplate::FindOpenDocument(const QString& path) const {
    for (Document* document : documents_)
        if (SameFilePath(document->GetPathName(), path)) return document;
    return nullptr;
}

void DocTemplate::AddDocument(Document* document) {
    if (!document || std::find(documents_.begin(), documents_.end(), document) != documents_.end())
        return;
    documents_.push_back(document);
    document->SetDocTemplate(this);
}

void DocTemplate::RemoveDocument(Document* document) {
    auto it = std::find(documents_.begin(), documents_.end(), document);
    if (it == documents_.end()) return;
    documents_.erase(it);
    document->SetDocTemplate(nullptr);
}

bool DocTemplate::SaveAllModified() {
    std::vector<Document*> documents = documents_;
    for (Document* document : documents)
        if (std::find(documents_.begin(), documents_.end(), document) != documents_.end() &&
            !document->SaveModified())
            return false;
    return true;
}

void DocTemplate::CloseAllDocuments() {
    std::vector<Document*> documents = documents_;
    for (Document* document : documents)
        if (std::find(documents_.begin(), documents_.end(), document) != documents_.end())
            document->OnCloseDocument();
}

}  // namespace framework

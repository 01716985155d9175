// The document template: makes a document, its child frame and its view
// from three factories and keeps the list of its open documents.
//
//   app.AddDocTemplate(framework::DocTemplate::Create<ImageDoc, ImageFrame, CanvasView>(129));
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

namespace framework {

class ChildFrame;
class Document;
class MdiFrame;
class View;

class DocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<Document>()>;
    using FrameFactory = std::function<std::unique_ptr<ChildFrame>()>;
    using ViewFactory = std::function<std::unique_ptr<View>()>;

    DocTemplate(int resourceId, DocumentFactory document, FrameFactory frame, ViewFactory view);
    virtual ~DocTemplate();
    DocTemplate(const DocTemplate&) = delete;
    DocTemplate& operator=(const DocTemplate&) = delete;

    template <class D, class F, class V>
    static std::unique_ptr<DocTemplate> Create(int resourceId) {
        return std::make_unique<DocTemplate>(
            resourceId, [] { return std::make_unique<D>(); }, [] { return std::make_unique<F>(); },
            [] { return std::make_unique<V>(); });
    }

    int ResourceId() const { return resourceId_; }
    // Base of the titles of new documents ("<name>1", "<name>2", ...); with
    // no name they are "无标题".
    void SetDocName(const QString& name) { docName_ = name; }
    const QString& DocName() const { return docName_; }
    // File extensions (without dot, any case) this template opens; an empty
    // list takes any file.
    void SetExtensions(const QStringList& extensions) { extensions_ = extensions; }
    bool MatchesPath(const QString& path) const;

    // The main frame new child frames go into: the application's.
    MdiFrame* GetMdiFrame() const;

    // New (empty path) or open: document, frame and view; OnNewDocument or
    // OnOpenDocument; then the initial update and the frame shown and
    // activated. On any failure everything made here is destroyed again and
    // the result is null.
    virtual Document* OpenDocumentFile(const QString& path, bool makeVisible = true);

    // The steps, for callers that build documents by hand.
    Document* CreateNewDocument();
    // A further frame and view for the document (also "new window"); null
    // when the frame refuses to be created.
    ChildFrame* CreateNewFrame(Document* document);
    void InitialUpdateFrame(ChildFrame* frame, Document* document, bool makeVisible = true);
    virtual void SetDefaultTitle(Document* document);

    const std::vector<Document*>& Documents() const { return documents_; }
    Document* FindOpenDocument(const QString& path) const;
    void AddDocument(Document* document);
    void RemoveDocument(Document* document);

    // Asks every modified document; false as soon as one says Cancel.
    bool SaveAllModified();
    void CloseAllDocuments();

private:
    int resourceId_;
    DocumentFactory documentFactory_;
    FrameFactory frameFactory_;
    ViewFactory viewFactory_;
    QString docName_;
    QStringList extensions_;
    int untitledCount_ = 0;
    std::vector<Document*> documents_;
};

}  // namespace framework

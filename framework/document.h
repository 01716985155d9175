// The document: the data behind one or more views, with its title, path
// name, modified flag and the template that made it.
//
// Life cycle (the document template drives it):
//   new:   OnNewDocument                       (false: the template discards it)
//   open:  OnOpenDocument(path), SetPathName   (false: the template discards it)
//   save:  DoFileSave / DoSave(path) -> OnSaveDocument(path)
//   close: SaveModified (asks), OnCloseDocument (closes every frame, then
//          DeleteContents, then deletes the document)
// A document deletes itself when its last view goes away (auto-delete).
//
// Commands of its table: File Close, File Save, File Save As.
#pragma once

#include <cstdint>
#include <vector>

#include <QString>

#include "framework/command.h"

namespace framework {

class ChildFrame;
class DocTemplate;
class View;

class Document : public CommandTarget {
public:
    Document();
    ~Document() override;

    const QString& GetTitle() const { return title_; }
    // Also renames the frames that show the document.
    virtual void SetTitle(const QString& title);
    const QString& GetPathName() const { return pathName_; }
    // Stores the path as an absolute path, sets the title to the file name
    // and, with addToRecent, adds the path to the application's recent files.
    virtual void SetPathName(const QString& path, bool addToRecent = true);
    void ClearPathName() { pathName_.clear(); }

    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    DocTemplate* GetDocTemplate() const { return template_; }
    const std::vector<View*>& GetViews() const { return views_; }
    // The distinct child frames that show the document, in view order.
    std::vector<ChildFrame*> GetFrames() const;

    // Calls OnUpdate of every view but the sender.
    void UpdateAllViews(View* sender, intptr_t hint = 0, void* hintObject = nullptr);

    // When true (default) the document deletes itself once it is closed or
    // its last view goes away.
    bool AutoDelete() const { return autoDelete_; }
    void SetAutoDelete(bool on) { autoDelete_ = on; }

    // Life cycle. The defaults: new and open clear the contents and the
    // modified flag (new also the path) and succeed; save clears the flag.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const QString& path);
    virtual bool OnSaveDocument(const QString& path);
    // Closes every frame of the document, then DeleteContents, then (with
    // auto-delete) deletes the document.
    virtual void OnCloseDocument();
    virtual void DeleteContents();

    // When modified, asks "是否保存对 <title> 的更改？" with Yes, No and
    // Cancel: Yes saves (a failed save counts as Cancel), No goes on, Cancel
    // stops. True when the caller may go on.
    virtual bool SaveModified();
    // True when the frame may close: another frame still shows the document,
    // or SaveModified agrees.
    virtual bool CanCloseFrame(ChildFrame* frame);

    // Saves under `path`; an empty path asks for one through the
    // application's DoPromptFileName (proposing the path or the title).
    // With `replace` the document takes the new path. A failed save after a
    // prompt removes the file it may have created.
    virtual bool DoSave(const QString& path, bool replace = true);
    // Saves under the document's path, or asks for one when it has none or
    // the file is read-only.
    virtual bool DoFileSave();

    // Called when a view is added or removed; the default closes an
    // auto-delete document that has no view left.
    virtual void OnChangedViewList();

    // Renames the frames ("title", or "title:1", "title:2" with several).
    void UpdateFrameTitles();

    // Used by View and DocTemplate.
    void AddView(View* view);
    void RemoveView(View* view);
    void SetDocTemplate(DocTemplate* docTemplate) { template_ = docTemplate; }

protected:
    void DeclareCommands(CommandTable& table) override;
    void OnFileClose();

private:
    QString title_;
    QString pathName_;
    bool modified_ = false;
    bool autoDelete_ = true;
    bool closing_ = false;
    DocTemplate* template_ = nullptr;
    std::vector<View*> views_;
};

// True when two paths name the same file (an existing file through its
// canonical path, else by the cleaned absolute path).
bool SameFilePath(const QString& a, const QString& b);
// The absolute, cleaned form of a path ("" stays "").
QString AbsoluteFilePath(const QString& path);

}  // namespace framework

#include "framework/document.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/doc_template.h"
#include "framework/framework_strings.h"
#include "framework/mdi_frame.h"
#include "framework/view.h"
#include "platform/message_box.h"

namespace framework {

QString AbsoluteFilePath(const QString& path) {
    if (path.isEmpty()) return {};
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool SameFilePath(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists()) return fa.canonicalFilePath() == fb.canonicalFilePath();
    return AbsoluteFilePath(a) == AbsoluteFilePath(b);
}

Document::Document() = default;

Document::~Document() {
    closing_ = true;
    for (View* view : views_) view->document_ = nullptr;
    views_.clear();
    if (template_) template_->RemoveDocument(this);
}

void Document::SetTitle(const QString& title) {
    title_ = title;
    UpdateFrameTitles();
}

void Document::SetPathName(const QString& path, bool addToRecent) {
    pathName_ = AbsoluteFilePath(path);
    SetTitle(QFileInfo(pathName_).fileName());
    if (addToRecent)
        if (Application* app = Application::Instance()) app->AddToRecentFileList(pathName_);
}

std::vector<ChildFrame*> Document::GetFrames() const {
    std::vector<ChildFrame*> frames;
    for (View* view : views_) {
        ChildFrame* frame = view->GetParentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    return frames;
}

void Document::UpdateAllViews(View* sender, intptr_t hint, void* hintObject) {
    std::vector<View*> views = views_;  // a view may close while it updates
    for (View* view : views)
        if (view != sender && std::find(views_.begin(), views_.end(), view) != views_.end())
            view->OnUpdate(sender, hint, hintObject);
}

bool Document::OnNewDocument() {
    DeleteContents();
    pathName_.clear();
    SetModifiedFlag(false);
    return true;
}

bool Document::OnOpenDocument(const QString&) {
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool Document::OnSaveDocument(const QString&) {
    SetModifiedFlag(false);
    return true;
}

void Document::DeleteContents() {}

void Document::OnCloseDocument() {
    if (closing_) return;
    closing_ = true;
    for (ChildFrame* frame : GetFrames()) frame->Destroy();
    // Views without a frame just leave.
    std::vector<View*> rest = views_;
    for (View* view : rest) view->SetDocument(nullptr);
    DeleteContents();
    closing_ = false;
    if (autoDelete_) delete this;
}

bool Document::SaveModified() {
    if (!IsModified()) return true;
    QString name = title_;
    if (name.isEmpty()) name = QFileInfo(pathName_).fileName();
    if (name.isEmpty()) name = FrameworkString(IDS_UNTITLED);
    QString text = FrameworkString(IDS_ASK_TO_SAVE).arg(name);
    Application* app = Application::Instance();
    MdiFrame* main = app ? app->GetMainFrame() : nullptr;
    QString caption = app ? app->AppName() : QString();
    int answer = ShowMessageBox(main ? main->WindowHandle() : nullptr, text.toUtf8().constData(),
                                caption.toUtf8().constData(), MB_BTN_YESNOCANCEL | MB_ICON_WARNING);
    switch (answer) {
    case MB_ANSWER_CANCEL: return false;
    case MB_ANSWER_YES: return DoFileSave();
    default: return true;
    }
}

bool Document::CanCloseFrame(ChildFrame* frame) {
    for (View* view : views_)
        if (view->GetParentFrame() != frame) return true;
    return SaveModified();
}

bool Document::DoSave(const QString& path, bool replace) {
    QString name = path;
    bool prompted = false;
    if (name.isEmpty()) {
        name = pathName_.isEmpty() ? title_ : pathName_;
        Application* app = Application::Instance();
        if (!app || !app->DoPromptFileName(name, IDS_SAVE_TITLE, false, template_)) return false;
        if (name.isEmpty()) return false;
        prompted = true;
    }
    bool existed = QFileInfo::exists(name);
    if (!OnSaveDocument(name)) {
        if (prompted && !existed) QFile::remove(name);
        return false;
    }
    if (replace) SetPathName(name);
    return true;
}

bool Document::DoFileSave() {
    QFileInfo info(pathName_);
    if (pathName_.isEmpty() || (info.exists() && !info.isWritable())) return DoSave({});
    return DoSave(pathName_);
}

void Document::OnChangedViewList() {
    if (views_.empty() && autoDelete_ && !closing_) OnCloseDocument();
    else UpdateFrameTitles();
}

void Document::UpdateFrameTitles() {
    std::vector<ChildFrame*> frames = GetFrames();
    int index = frames.size() > 1 ? 1 : 0;
    for (ChildFrame* frame : frames) {
        frame->windowIndex_ = index ? index++ : 0;
        frame->OnUpdateFrameTitle();
    }
}

void Document::AddView(View* view) {
    if (!view || std::find(views_.begin(), views_.end(), view) != views_.end()) return;
    views_.push_back(view);
    view->document_ = this;
    OnChangedViewList();
}

void Document::RemoveView(View* view) {
    auto it = std::find(views_.begin(), views_.end(), view);
    if (it == views_.end()) return;
    views_.erase(it);
    view->document_ = nullptr;
    OnChangedViewList();
}

void Document::OnFileClose() {
    if (!SaveModified()) return;
    OnCloseDocument();
}

void Document::DeclareCommands(CommandTable& table) {
    table.On(ID_FILE_CLOSE, [this] { OnFileClose(); })
        .On(ID_FILE_SAVE, [this] { DoFileSave(); })
        .On(ID_FILE_SAVE_AS, [this] { DoSave({}); });
}

}  // namespace framework

// The bars' button states the frame sets itself while a plug-in runs.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QToolBar>

#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "framework/menu_builder.h"

bool CMainFrame::ButtonsFollowPlugin() const {
    CPelmarkDoc* doc = GetActiveDoc();
    return MDIGetActive() && doc && (pluginLoopRunning_ || doc->m_bAnimPluginRunning);
}

void CMainFrame::OnIdleUpdateCmdUI() {
    if (ButtonsFollowPlugin()) return;
    framework::MdiFrame::OnIdleUpdateCmdUI();
}

void CMainFrame::pressButton(QToolBar* bar, CommandId id, bool pressed) {
    if (!bar) return;
    if (QAction* action = framework::FindCommandAction(bar, id)) {
        action->setCheckable(true);
        action->setChecked(pressed);
    }
}

void CMainFrame::enableButton(CommandId id, bool enabled) {
    if (!toolBar_) return;
    if (QAction* action = framework::FindCommandAction(toolBar_, id)) action->setEnabled(enabled);
}

void CMainFrame::SetZoomButtons(CommandId zoom) {
    if (!ButtonsFollowPlugin()) return;
    for (CommandId id = 34002; id <= 34007; ++id) pressButton(toolBar_, id, id == zoom);
}

void CMainFrame::SetGridButtons(int snapFlags, int gridFlags) {
    if (!ButtonsFollowPlugin()) return;
    pressButton(toolBar_, 34034, snapFlags & 1);
    pressButton(toolBar_, 34035, snapFlags & 2);
    pressButton(toolBar_, 34016, gridFlags & 1);
    pressButton(toolBar_, 34033, gridFlags & 2);
}

void CMainFrame::SetGuideButtons(bool shown, bool editing) {
    if (!ButtonsFollowPlugin()) return;
    bool locked = locks_.IsSet(CommandLockTable::kGuides);
    pressButton(toolBar_, 34036, shown && !locked);
    pressButton(toolBar_, 34037, editing && !locked);
}

void CMainFrame::SetAnimationButtons(bool editorOpen, bool previewShown) {
    if (!ButtonsFollowPlugin()) return;
    CPelmarkDoc* doc = GetActiveDoc();
    bool running = doc->m_bAnimPluginRunning != 0;
    bool locked = locks_.IsSet(CommandLockTable::kAnimationButtons);
    enableButton(34012, running);
    enableButton(34027, running);
    pressButton(toolBar_, 34012, running && editorOpen && !locked);
    pressButton(toolBar_, 34027, running && previewShown && !locked);
}

void CMainFrame::SetEditButtons() {
    if (!ButtonsFollowPlugin()) return;
    CPelmarkDoc* doc = GetActiveDoc();
    bool undoLocked = locks_.IsSet(CommandLockTable::kUndo);
    enableButton(framework::ID_EDIT_UNDO, !undoLocked && doc->m_nUndoIndex >= 0);
    enableButton(framework::ID_EDIT_REDO, !undoLocked && doc->m_nRedoLimit >= doc->m_nUndoIndex + 2);
    bool clipLocked = locks_.IsSet(CommandLockTable::kClipboard);
    bool selection = doc->m_hFloatImage != nullptr;
    enableButton(framework::ID_EDIT_CUT, !clipLocked && selection);
    enableButton(framework::ID_EDIT_COPY, !clipLocked && selection);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    enableButton(framework::ID_EDIT_PASTE, !clipLocked && data && data->hasImage());
    enableButton(framework::ID_FILE_SAVE, doc->IsModified());
}

void CMainFrame::SetPasteModeButton(CommandId mode) {
    if (!ButtonsFollowPlugin()) return;
    for (CommandId id = 34018; id <= 34020; ++id) pressButton(toolBar_, id, id == mode);
}

void CMainFrame::SetToneButton(CommandId tone) {
    if (!ButtonsFollowPlugin()) return;
    for (int i = 0; i < kToneButtons; ++i)
        pressButton(toneBar_, kFirstToneId + CommandId(i), kFirstToneId + CommandId(i) == tone);
}

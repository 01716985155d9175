// Saving a document through its file-format plug-in.
#include <QFile>
#include <QFileInfo>

#include "framework/support_file_dialog.h"
#include "document/open_doc_list.h"
#include "document/pelmark_doc.h"
#include "framework/program_recent_list.h"
#include "framework/framework_strings.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/module.h"
#include "platform/safe_save.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/file_io_state.h"
#include "plugin_host/file_prompt.h"
#include "plugin_host/format_plugins.h"
#include "plugin_host/host_messages.h"
#include "plugin_host/plugin_frame.h"

bool CPelmarkDoc::OnSaveDocument(const QString& path) {
    using namespace plugin_host;
    platform::Module library;
    std::string libraryPath;
    if (!LoadFormatPluginFor(path, path, PluginListMode::Writing, m_nLayerCount > 1 || m_bHasUnderlay,
                             library, libraryPath))
        return false;
    WinHandle mainWindow = PluginFrame::Get().PluginParentWindow();
    const char* own = libraryPath.c_str();

    // The plug-in gets a copy: 4 bit when a 16-colour image packs, else 8 bit.
    PluginImage image{};
    MemHandle copy = nullptr;
    if (m_nColorMode) {
        MemHandle packed = PackDibTo4Bit(m_hImage);
        if (packed && packed != m_hImage) {
            copy = packed;
            image.colors = 16;
        }
    }
    if (!copy) {
        copy = DuplicateGlobal(m_hImage);
        image.colors = 256;
    }
    if (!copy) {
        ShowPluginInfo(QString::fromUtf8(PluginResultMessage(PLUGIN_RESULT_NO_MEMORY, 1)));
        return false;
    }
    image.image = copy;
    auto finish = [&](uint16_t code) {
        // A save the user cancelled shows nothing.
        if (const char* message = code != PLUGIN_RESULT_OK ? PluginResultMessage(code, 1) : nullptr)
            ShowPluginInfo(QString::fromUtf8(message));
        library.reset();
        MemFree(copy);
        if (code != PLUGIN_RESULT_OK) return false;
        SetModifiedFlag(false);
        return true;
    };
    constexpr uint16_t kCannotSave = 0xffff;

    PluginPathBuffer pathBuffer;
    if (!PluginPathBufferSet(&pathBuffer, path.toUtf8().constData())) return finish(kCannotSave);
    if (auto dlgOut = library.symbol<PluginImportFn>("ImportDlgOut")) {
        uint16_t code = dlgOut(mainWindow, &pathBuffer, &image, own);
        if (code != PLUGIN_RESULT_OK) {
            SetSaveStopped(true);
            return finish(code);
        }
    }

    if (auto setLayer = library.symbol<PluginSetSlotFn>("SetLayer")) {
        for (int i = 0; i < m_nLayerCount && i < document::kLayerSlots; ++i) {
            if (!m_hLayers[size_t(i)]) continue;
            PluginSlot slot{i, m_hLayers[size_t(i)], nullptr};
            setLayer(&slot);
        }
        if (auto setEdit = library.symbol<PluginSetIntFn>("SetEditLayerCheck")) setEdit(m_nEditLayer);
    }
    if (auto setChannel = library.symbol<PluginSetSlotFn>("SetChannel")) {
        for (int i = 0; i < document::kChannelSlots; ++i) {
            if (!m_hChannels[size_t(i)]) continue;
            PluginSlot slot{i, nullptr, m_hChannels[size_t(i)]};
            setChannel(&slot);
        }
    }
    if (auto setCheck = library.symbol<PluginSetIntFn>("SetSitaeCheck")) setCheck(m_bUnderlayCheck);
    if (m_bHasUnderlay && m_hUnderlay) {
        {
            dib::LockedDib underlay(m_hUnderlay);
            if (underlay) {
                m_nUnderlayWidth = underlay.geo().width;
                m_nUnderlayHeight = underlay.geo().height;
            }
        }
        if (auto setSize = library.symbol<PluginSetSizeFn>("SetSitaeSize"))
            setSize(m_nUnderlayWidth, m_nUnderlayHeight);
        if (auto setSitae = library.symbol<PluginSetSlotFn>("SetSitae")) {
            PluginSlot slot{0, m_hUnderlay, nullptr};
            setSitae(&slot);
        }
    }

    // The plug-in writes a new file beside the user's; only a complete one
    // replaces it.
    auto importGW = library.symbol<PluginImportFn>("ImportGW");
    if (!importGW) return finish(kCannotSave);
    platform::SafeSave target(QFile::encodeName(path).toStdString(), true);
    if (!target || !PluginPathBufferSet(&pathBuffer, target.TemporaryPath().c_str()))
        return finish(kCannotSave);
    uint16_t code = importGW(mainWindow, &pathBuffer, &image, own);
    if (code == PLUGIN_RESULT_OK && !target.Commit()) code = PLUGIN_RESULT_WRITE_ERROR;
    return finish(code);
}

bool CPelmarkDoc::DoSave(const QString& path, bool replace) {
    using namespace plugin_host;
    SetSaveStopped(false);
    SetSavedPathText(m_szPath);
    // The formats offered are those that can hold this document.
    ScopedSavingDocument saving(m_nLayerCount > 1 || m_bHasUnderlay);
    QString name = path;
    if (name.isEmpty()) {
        // Save As, or a document without a path: propose its base name.
        name = GetPathName().isEmpty() ? QString() : QFileInfo(GetPathName()).completeBaseName();
        if (!DoPromptFileName(name, framework::IDS_SAVE_TITLE,
                              dialogs::OFN_HIDEREADONLY | dialogs::OFN_PATHMUSTEXIST, false,
                              GetDocTemplate(), false))
            return false;
    }
    UnlockFile();
    if (!OnSaveDocument(name)) {
        // The user's file is untouched; keep holding the document's own file.
        if (!GetPathName().isEmpty()) LockFile(GetPathName());
        return false;
    }
    if (replace) {
        ResetUndoFlags();
        SetPathName(name);
        m_szPath = GetPathName();
        // The next start reopens the file the document is now.
        document::FollowOpenDocumentPath(this, GetPathName());
        LockFile(name);
        AddProgramRecentFile(GetPathName());
    } else if (!GetPathName().isEmpty()) {
        LockFile(GetPathName());
    }
    m_bUntitled = 0;
    return true;
}

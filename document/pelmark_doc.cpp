#include "document/pelmark_doc.h"

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

#include "document/color_modes.h"
#include "document/default_palettes.h"
#include "document/doc_globals.h"
#include "document/document_host.h"
#include "document/floating_selection.h"
#include "document/image_limits.h"
#include "document/layer_factory.h"
#include "document/open_doc_list.h"
#include "framework/application.h"
#include "framework/cmd_ui.h"
#include "framework/command_ids.h"
#include "framework/view.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "document/working_palette.h"
#include "platform/message_box.h"
#include "plugin_api/plugin_messages.h"
#include "document/display_toggles.h"

namespace {

void Release(MemHandle& h) {
    if (h) MemFree(h);
    h = nullptr;
}

void ShowDocumentInfo(const char* text) {
    ShowMessageBox(nullptr, text, "Kavolt", MB_BTN_OK | MB_ICON_INFORMATION);
}

// Width and height as the header states them (negative values included);
// false when the block is too small for a header.
bool ReadHeaderSize(MemHandle image, int* width, int* height) {
    MemLockGuard lock(image);
    if (!lock || lock.size() < 4) return false;
    uint32_t headerSize = lock.as<DibInfoHeader>()->size;
    if (headerSize == DIB_CORE_HEADER_SIZE && lock.size() >= DIB_CORE_HEADER_SIZE) {
        const auto* core = lock.as<DibCoreHeader>();
        *width = core->width;
        *height = core->height;
        return true;
    }
    if (headerSize >= DIB_INFO_HEADER_SIZE && lock.size() >= DIB_INFO_HEADER_SIZE) {
        const auto* info = lock.as<DibInfoHeader>();
        *width = info->width;
        *height = info->height;
        return true;
    }
    return false;
}

bool FitsMaxImageSize(int64_t width, int64_t height) {
    MaxImageSize max = GetMaxImageSize();
    return width >= 0 && height >= 0 && width <= max.width && height <= max.height;
}

uint8_t ClampByte(int value) { return uint8_t(std::clamp(value, 0, 255)); }

}  // namespace

CPelmarkDoc::CPelmarkDoc() {
    m_WritableColors.fill(1);
    m_EnabledColors.fill(1);
    MaxImageSize max = GetMaxImageSize();
    size_t maskBytes = size_t(max.width / 8) * size_t(max.height);
    m_hMask = MemAlloc(maskBytes);
    m_hMask2 = MemAlloc(maskBytes);
    m_hMask3 = MemAlloc(maskBytes);
    m_hPixelFlags = MemAlloc(size_t(max.width) * size_t(max.height));
    document::Host().DocumentCreated(this);
}

CPelmarkDoc::~CPelmarkDoc() {
    UnlockFile();
    document::RemoveOpenDocument(this);
    m_bHasUnderlay = 0;
    m_bUnderlayCheck = 0;
    m_nLayerCount = 0;
    m_nEditLayer = 0;
    m_bLayerStep = 0;
    document::Host().DocumentClosing(this);
    for (WinHandle window : {m_ToolPlugin.window, m_AnimPlugin.window})
        if (window && WinIsWindow(window)) WinSendMessage(window, WM_TOOL_DOCCLOSED, 0, 0);

    Release(m_hPixelFlags);
    Release(m_hMask);
    Release(m_hMask2);
    Release(m_hMask3);
    Release(m_hImage);
    Release(m_hUnderlay);
    Release(m_hFloatPixels);
    Release(m_hPrevImage);
    ReleaseImagePalettes();
    m_pUnderlayPalette.reset();
    Release(m_hFloatImage);
    Release(m_hFloatMask);
    Release(m_hLayerBackup);
    for (document::UndoSlot& slot : m_UndoSlots) document::ClearUndoSlot(slot);
    for (MemHandle& layer : m_hPrevLayers) Release(layer);
    for (MemHandle& layer : m_hLayers) Release(layer);
    for (MemHandle& channel : m_hChannels) Release(channel);
}

bool CPelmarkDoc::OnNewDocument() {
    if (!framework::Document::OnNewDocument()) return false;
    m_bUntitled = 1;
    document::DocumentHost& host = document::Host();
    bool fromData = document::IsNewFromData();
    QString layerName;
    if (fromData) {
        // The command that made the document brings its own picture.
        WriteTableEntries(document::kDefaultPalette256.data(), m_nColorMode ? 16 : 256);
    } else if (!MakeImageFromDialog(&layerName)) {
        return false;
    }
    bool hasImage = InitDib();
    if (!fromData) {
        if (!hasImage) return false;
        document::LayerOptions options;
        options.name = layerName;
        document::CreateLayer(*this, 0, 1, options);
        host.LayersChanged(this);
    }
    host.PositionChanged(this);
    SwitchOffViewDisplayToggles();
    return true;
}

bool CPelmarkDoc::MakeImageFromDialog(QString* layerName) {
    document::DocumentHost& host = document::Host();
    for (;;) {
        if (!host.HasWorkMemory(0)) return false;
        document::NewImageSettings asked;
        const document::NewImageAnswer answer = host.AskNewImage(&asked);
        if (answer == document::NewImageAnswer::kCancelled) return false;
        // A palette file that gives no palette: ask again.
        if (answer == document::NewImageAnswer::kAskAgain) continue;

        if (!FitsMaxImageSize(asked.width, asked.height)) {
            ShowDocumentInfo("DIB 过大。");
            return false;
        }
        MemHandle image = CreateDib8(int(asked.width), int(asked.height), asked.bytesPerPixel);
        if (!image) return false;
        Release(m_hImage);
        m_hImage = image;

        const document::ColorModeInfo& mode = document::GetColorModeInfo(asked.colorMode);
        m_nColorMode = (asked.colorMode >= 0 && asked.colorMode < document::kColorModeCount)
                           ? asked.colorMode
                           : 0;
        m_wPaletteLock = mode.paletteLock;
        m_nColor = mode.firstColor;

        if (asked.fromWorkingPalette) {
            const WorkingPalette& palette = GetWorkingPalette();
            for (int i = 0; i < mode.entriesFilled; ++i) {
                const WorkingPaletteEntry& e = palette[size_t(i)];
                SetDibPaletteEntry(m_hImage, i, e.red, e.green, e.blue, e.alpha);
            }
        } else {
            if (m_nColorMode) WriteTableEntries(document::kDefaultPalette16.data(), 16);
            else WriteTableEntries(document::kDefaultPalette256.data(), 256);
            const auto& c = asked.background;
            SetDibPaletteEntry(m_hImage, 0, ClampByte(c.red), ClampByte(c.green), ClampByte(c.blue),
                               ClampByte(c.alpha));
        }
        *layerName = asked.layerName;
        return true;
    }
}

void CPelmarkDoc::WriteTableEntries(const uint32_t* table, int count) {
    if (!m_hImage) return;
    for (int i = 0; i < count; ++i) {
        uint32_t rgb = table[i];
        SetDibPaletteEntry(m_hImage, i, uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 0);
    }
}

bool CPelmarkDoc::InitDib() {
    NoteContentChange();
    ReleaseImagePalettes();
    if (!m_hImage) return false;

    int width = 0, height = 0;
    if (ReadHeaderSize(m_hImage, &width, &height) && !FitsMaxImageSize(width, height)) {
        Release(m_hImage);
        ShowDocumentInfo("DIB 过大。");
        return false;
    }
    bool inputKept = false;
    MemHandle expanded = ExpandDib4To8(m_hImage, &inputKept);
    if (!expanded) {
        if (inputKept) MemFree(m_hImage);
        m_hImage = nullptr;
        return false;
    }
    m_hImage = expanded;
    if (!m_hMask || !m_hMask2 || !m_hMask3 || !m_hPixelFlags) {
        Release(m_hImage);
        ShowDocumentInfo("内存不足。");
        return false;
    }
    {
        dib::LockedDib image(m_hImage);
        if (!image) {
            Release(m_hImage);
            return false;
        }
        m_nWidth = image.geo().width;
        m_nHeight = image.geo().height;
    }
    LogicalPalette palette, alpha;
    if (CreatePaletteFromDib(m_hImage, &palette) && CreateAlphaPaletteFromDib(m_hImage, &alpha)) {
        m_pPalette = palette;
        m_pAlphaPalette = alpha;
    }
    return true;
}

void CPelmarkDoc::ReleaseImagePalettes() {
    m_pPalette.reset();
    m_pAlphaPalette.reset();
}

int CPelmarkDoc::InvalidateOtherViews(framework::View* view) {
    NoteContentChange();
    for (framework::View* other : GetViews())
        if (other != view) other->update();
    return 0;
}

bool CPelmarkDoc::CreateFirstLayer() {
    if (!document::CreateLayer(*this, 0, 1)) return false;
    document::Host().LayerListChanged(this);
    document::Host().CurrentLayerChanged(this, 0);
    return true;
}

int CPelmarkDoc::LockFile(const QString& path) {
    UnlockFile();
    QByteArray name = path.toLocal8Bit();
    int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    // A shared lock on the open file: writers that ask for a lock are
    // refused while the document holds it.
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        ::close(fd);
        return 0;
    }
    m_fileLock = fd;
    m_bFileLocked = 1;
    return 1;
}

int CPelmarkDoc::UnlockFile() {
    if (!m_bFileLocked) return 0;
    int closed = (m_fileLock >= 0 && ::close(m_fileLock) == 0) ? 1 : 0;
    m_fileLock = -1;
    m_bFileLocked = 0;
    return closed;
}

void CPelmarkDoc::DeclareCommands(framework::CommandTable& table) {
    table.On(framework::ID_EDIT_UNDO, this, &CPelmarkDoc::OnEditUndo)
        .OnUpdate(framework::ID_EDIT_UNDO, this, &CPelmarkDoc::OnUpdateEditUndo)
        .On(framework::ID_EDIT_REDO, this, &CPelmarkDoc::OnEditRedo)
        .OnUpdate(framework::ID_EDIT_REDO, this, &CPelmarkDoc::OnUpdateEditRedo)
        .On(kRepeatId, this, &CPelmarkDoc::OnEditRepeat)
        .OnUpdate(kRepeatId, this, &CPelmarkDoc::OnUpdateEditRepeat);
    DeclareLayerCommands(table);
    DeclareUnderlayCommands(table);
    document::Host().DeclarePluginCommands(table, this);
    table.On(framework::ID_FILE_SAVE_AS, this, &CPelmarkDoc::OnFileSaveAs)
        .OnUpdate(framework::ID_FILE_SAVE_AS, this, &CPelmarkDoc::OnUpdateLockedFileCommand)
        .OnUpdate(framework::ID_FILE_CLOSE, this, &CPelmarkDoc::OnUpdateLockedFileCommand)
        .On(kDefinePatternCommand, [this] { document::DefinePattern(*this); })
        .OnUpdate(kDefinePatternCommand, [this](framework::CmdUI& ui) {
            bool can = document::CanDefinePattern(*this);
            ui.Enable(can);
            if (can) document::GetSelectionPattern().rect = m_rcSelection;
        });
    framework::Document::DeclareCommands(table);
}

void CPelmarkDoc::OnFileSaveAs() { DoSave({}); }

void CPelmarkDoc::OnUpdateLockedFileCommand(framework::CmdUI& ui) {
    ui.Enable(!document::Host().CommandsLocked());
}

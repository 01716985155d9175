// Opening a document through its file-format plug-in.
#include <QFileInfo>

#include "document/doc_globals.h"
#include "document/image_limits.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "framework/program_recent_list.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/module.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/block_checks.h"
#include "plugin_host/file_io_state.h"
#include "plugin_host/format_plugins.h"
#include "plugin_host/host_messages.h"
#include "plugin_host/lent_color_reduce.h"
#include "plugin_host/offered_blocks.h"
#include "plugin_host/plugin_frame.h"
#include "document/display_toggles.h"

namespace {

constexpr int kOpenProbe = 0;
const char* const kUnreadable = "文件无法读取。";

void Release(MemHandle& h) {
    if (h) MemFree(h);
    h = nullptr;
}

}  // namespace

void CPelmarkDoc::ReleaseOpenedBlocks() {
    Release(m_hImage);
    for (MemHandle& layer : m_hLayers) Release(layer);
    for (MemHandle& channel : m_hChannels) Release(channel);
    Release(m_hUnderlay);
    m_pUnderlayPalette.reset();
    m_nLayerCount = 0;
    m_nChannelCount = 0;
    m_bHasUnderlay = 0;
    m_bUnderlayCheck = 0;
    m_bUnderlayState = 0;
    m_nEditLayer = 0;
}

bool CPelmarkDoc::OnOpenDocument(const QString& path) {
    using namespace plugin_host;
    document::SetNoReduceQuestion(false);
    DeleteContents();
    platform::Module library;
    std::string libraryPath;
    if (!LoadFormatPluginFor(path, path.toUpper(), PluginListMode::Reading, false, library, libraryPath))
        return false;

    WinHandle mainWindow = PluginFrame::Get().PluginParentWindow();
    const char* own = libraryPath.c_str();
    PluginImage image{};
    bool readReturned = false;
    // Whatever the plug-in handed over is freed on every failing path: what
    // the document took, then what the plug-in still offers.
    auto fail = [&](const char* message) {
        if (message) ShowPluginInfo(QString::fromUtf8(message));
        if (image.image) MemFree(image.image);
        image.image = nullptr;
        ReleaseOpenedBlocks();
        if (readReturned) FreeOfferedBlocks(library);
        return false;
    };

    PluginPathBuffer pathBuffer;
    if (!PluginPathBufferSet(&pathBuffer, path.toUtf8().constData()))
        return fail(PluginResultMessage(PLUGIN_RESULT_CANNOT_OPEN, 0));

    if (auto dlgIn = library.symbol<PluginImportDlgInFn>("ImportDlgIn")) {
        PluginPathBuffer copy = pathBuffer;
        if (dlgIn(mainWindow, &copy, &image, own) != 0) return fail(nullptr);
    }
    if (auto setGenshoku = library.symbol<PluginSetGenshokuFn>("SetGenshoku")) {
        for (int32_t i = 0; i < COLOR_REDUCE_SLOTS; ++i)
            setGenshoku(ColorReduceTableGet(&LentColorReduceTable(), i), i);
    }
    auto importGR = library.symbol<PluginImportFn>("ImportGR");
    if (!importGR) return fail(kUnreadable);
    image.image = nullptr;
    uint16_t code = importGR(mainWindow, &pathBuffer, &image, own);
    readReturned = true;
    if (code != PLUGIN_RESULT_OK) return fail(PluginResultMessage(code, 0));
    if (!image.image) return fail(kUnreadable);

    if (!PluginFrame::Get().ProbeWorkMemory(kOpenProbe)) return fail(nullptr);
    int width = 0, height = 0;
    if (!DeliveredImageFits(image.image, &width, &height))
        return fail(PluginResultMessage(PLUGIN_RESULT_BAD_FORMAT, 0));
    MaxImageSize max = GetMaxImageSize();
    if (width > max.width || height > max.height) {
        ShowPluginInfo(QString::asprintf("画面尺寸 %dx%d 过大。", max.width, max.height));
        return fail(nullptr);
    }

    // Layers, packed into the first slots in the plug-in's order. A handle
    // the plug-in hands over twice is taken once.
    ReleaseOpenedBlocks();
    auto HandleTaken = [&](MemHandle h) {
        if (h == image.image || h == m_hUnderlay) return true;
        for (MemHandle l : m_hLayers)
            if (l == h) return true;
        for (MemHandle c : m_hChannels)
            if (c == h) return true;
        return false;
    };
    int editLayer = 0;
    bool badBlock = false;
    if (auto getLayer = library.symbol<PluginGetBlockFn>("GetLayer")) {
        int fromPlugin[document::kLayerSlots];
        int delivered = 0;
        for (int32_t i = 0; i < document::kLayerSlots; ++i) {
            int32_t index = i;
            MemHandle layer = getLayer(&index);
            if (!layer) continue;
            ++delivered;
            if (!LayerFitsImage(layer, width, height) || HandleTaken(layer)) {
                if (!HandleTaken(layer)) MemFree(layer);
                badBlock = true;
                continue;
            }
            fromPlugin[m_nLayerCount] = i;
            m_hLayers[size_t(m_nLayerCount++)] = layer;
        }
        if (delivered && !m_nLayerCount) return fail(PluginResultMessage(PLUGIN_RESULT_BAD_FORMAT, 0));
        if (auto getEdit = library.symbol<PluginGetCheckFn>("GetEditLayerCheck")) {
            int32_t arg = 99;
            int wanted = getEdit(&arg);
            for (int k = 0; k < m_nLayerCount; ++k)
                if (fromPlugin[k] == wanted) editLayer = k;
        }
    }
    if (auto getChannel = library.symbol<PluginGetBlockFn>("GetChannel")) {
        for (int32_t i = 0; i < document::kChannelSlots; ++i) {
            int32_t index = i;
            MemHandle channel = getChannel(&index);
            if (!channel) continue;
            if (!MemIsValid(channel) || HandleTaken(channel)) {
                badBlock = true;
                continue;
            }
            m_hChannels[size_t(i)] = channel;
            ++m_nChannelCount;
        }
    }
    if (auto getSitae = library.symbol<PluginGetBlockFn>("GetSitae")) {
        int32_t arg = 99;
        MemHandle underlay = getSitae(&arg);
        if (underlay && (!DeliveredImageFits(underlay, nullptr, nullptr) || HandleTaken(underlay))) {
            if (!HandleTaken(underlay)) MemFree(underlay);
            underlay = nullptr;
            badBlock = true;
        }
        if (underlay) {
            m_hUnderlay = underlay;
            LogicalPalette palette;
            if (CreatePaletteFromDib(m_hUnderlay, &palette)) {
                m_pUnderlayPalette = palette;
                m_bHasUnderlay = 1;
                m_bUnderlayState = 1;
                if (auto getCheck = library.symbol<PluginGetCheckFn>("GetSitaeCheck")) {
                    int32_t checkArg = 99;
                    m_bUnderlayCheck = getCheck(&checkArg);
                }
            } else {
                m_pUnderlayPalette.reset();
            }
        }
    }
    if (badBlock) ShowPluginInfo(QString::fromUtf8(PluginResultMessage(PLUGIN_RESULT_BAD_FORMAT, 0)));

    m_szPath = path;
    bool reduced = false;
    switch (image.colors) {
    case 2: image.image = ExpandMonoDib(image.image); break;
    case 256: break;
    case 16:
        m_wPaletteLock = 0xFFFE;
        m_nColorMode = 1;
        break;
    default: {
        if (!document::IsNoReduceQuestion() && !AskPluginOkCancel(QStringLiteral("减色开始。"))) return fail(nullptr);
        MemHandle result = nullptr;
        switch (ReduceOpenedImageTo256(image.image, &result)) {
        case ReduceOutcome::Done:
            MemFree(image.image);
            image.image = result;
            reduced = true;
            break;
        case ReduceOutcome::NoMemory: return fail("减色所需要的内存不足。");
        case ReduceOutcome::Failed: return fail("减色失败。");
        }
        break;
    }
    }
    // The editor holds indexed images only.
    if (!IsDibIndexed(image.image)) return fail(PluginResultMessage(PLUGIN_RESULT_BAD_FORMAT, 0));

    Release(m_hImage);
    m_hImage = std::exchange(image.image, nullptr);
    library.reset();
    InitDib();
    if (image.colors == 2 && m_hImage && IsSixteenColorDib(m_hImage)) {
        m_wPaletteLock = 0xFFFE;
        m_nColorMode = 1;
    }
    if (!m_hImage) return fail(kUnreadable);

    QString longPath = QFileInfo(path).canonicalFilePath();
    SetPathName(longPath.isEmpty() ? path : longPath);
    AddProgramRecentFile(GetPathName());
    SetModifiedFlag(false);
    if (m_nLayerCount == 0) {
        // The layer holds the picture the file gave: the layers are composed
        // into the image from here on.
        if (document::CreateLayer(*this, 0, 1)) document::CopyImageToLayer(m_hImage, m_hLayers[0]);
        PluginFrame::Get().RebuildLayerPalette(this);
    }
    m_nEditLayer = editLayer;
    PluginFrame::Get().ShowLayersOf(this);
    PluginFrame::Get().ShowPositionOf(this);
    if (reduced || document::IsNoReduceQuestion()) SetModifiedFlag(true);
    SwitchOffViewDisplayToggles();
    LockFile(path);
    return true;
}

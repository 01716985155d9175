#include "plugin_host/tool_runs.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <QGuiApplication>

#include "framework/program_globals.h"
#include "document/doc_limits.h"
#include "document/floating_selection.h"
#include "document/pelmark_doc.h"
#include "framework/application.h"
#include "framework/mdi_frame.h"
#include "framework/view.h"
#include "framework/wait_cursor.h"
#include "platform/module.h"
#include "plugin_host/plugin_frame.h"
#include "plugin_host/tool_host_services.h"
#include "plugin_host/tool_images.h"
#include "tools/drag_state.h"

namespace plugin_host {
namespace {

constexpr size_t kPathTextBytes = 1024;

enum class RecordKind { Tool, Anim, Hex };

// One record with everything its pointers lead to that the host owns.
struct RunSlot {
    PluginToolRecord record{};
    PluginToolInfo info{};
    std::array<char, kPathTextBytes> pathText{};
    // The hex tool's layer table; empty for the others.
    std::array<MemHandle, document::kLayerSlots> layers{};
    // Where the record's colour pointer goes once its document is closed.
    int32_t colorAfterClose = 0;
    CPelmarkDoc* doc = nullptr;
    bool held = false;
};

RunSlot g_tool;
RunSlot g_anim;
RunSlot g_hex;
PluginToolInfo g_animInfoCopy{};
CPelmarkDoc* g_animDoc = nullptr;
uint8_t g_animStartMode = 0;
std::array<uint8_t, 256> g_usedColors{};
int g_selectedIndex = 0;
QString g_selectedPath;
MemHandle g_hexImage = nullptr;
MemHandle g_hexLayer = nullptr;
std::vector<DocumentWatch*> g_watches;

PluginFrame& Frame() { return PluginFrame::Get(); }

WinHandle MainWindow() {
    framework::Application* app = framework::Application::Instance();
    framework::MdiFrame* frame = app ? app->GetMainFrame() : nullptr;
    return frame ? frame->WindowHandle() : nullptr;
}

int AntiAlias() {
    const ToolHostServices& s = Services();
    return s.antiAlias ? s.antiAlias() : GetAntiAliasSetting();
}

// The tone pattern of the active canvas view (0 solid).
int ToneIndex() {
    const ToolHostServices& s = Services();
    return s.toneIndex ? s.toneIndex() : Frame().ActiveViewTone();
}

int ToolOption(int index) {
    const ToolHostServices& s = Services();
    return s.toolOption ? s.toolOption(index) : Frame().ToolSetting(index);
}

void CopyText(std::array<char, kPathTextBytes>& out, const QString& text) {
    out.fill(0);
    QByteArray bytes = text.toUtf8();
    // A path that does not fit is not passed cut short.
    if (size_t(bytes.size()) < out.size()) std::memcpy(out.data(), bytes.constData(), size_t(bytes.size()));
}

void FillRecord(RunSlot& slot, CPelmarkDoc& doc, RecordKind kind) {
    PluginToolRecord& r = slot.record;
    r = PluginToolRecord{};
    r.selectionWidth = doc.m_rcSelection.right - doc.m_rcSelection.left;
    r.selectionHeight = doc.m_rcSelection.bottom - doc.m_rcSelection.top;
    r.currentColor = &doc.m_nColor;
    r.clickX = &ToolClickX();
    r.clickY = &ToolClickY();
    r.antiAlias = AntiAlias();
    if (kind == RecordKind::Hex) {
        slot.layers.fill(nullptr);
        slot.layers[0] = g_hexLayer;
        r.layers = slot.layers.data();
        r.editLayer = 0;
    } else {
        r.layers = doc.m_hLayers.data();
        r.editLayer = doc.m_nEditLayer;
    }
    BuildUsedColorTable(doc.m_hImage, doc.m_nColorMode != 0, g_usedColors);
    r.usedColors = g_usedColors.data();
    QString path = doc.GetPathName().isEmpty() ? doc.m_szPath : doc.GetPathName();
    CopyText(slot.pathText, kind == RecordKind::Anim ? doc.GetTitle() : path);
    r.path = slot.pathText.data();
    r.selectionMask = (kind == RecordKind::Tool && doc.m_nMaskMode == 1) ? doc.m_hMask3 : doc.m_hMask;
    const ToolHostServices& s = Services();
    r.toneIndex = ToneIndex();
    r.toolOption = ToolOption(1) == 1 ? ToolOption(2) : 0;
    if (ToolOption(0) == 1) {
        ToolPattern pattern;
        if (s.pattern) {
            pattern = s.pattern();
        } else {
            const document::SelectionPattern& kept = document::GetSelectionPattern();
            pattern = {kept.rect, kept.image};
        }
        r.patternLeft = pattern.rect.left;
        r.patternTop = pattern.rect.top;
        r.patternWidth = pattern.rect.right - pattern.rect.left;
        r.patternHeight = pattern.rect.bottom - pattern.rect.top;
        r.pattern = pattern.block;
    }
    static_assert(sizeof r.animTable == document::kPackedAnimTableBytes);
    std::memcpy(&r.animTable, doc.m_AnimTable.data(), sizeof r.animTable);
    if (kind == RecordKind::Anim) r.animStartMode = g_animStartMode;
}

PluginWindowSlot& DocSlot(CPelmarkDoc& doc, RecordKind kind) {
    switch (kind) {
    case RecordKind::Anim: return doc.m_AnimPlugin;
    case RecordKind::Hex: return doc.m_HexPlugin;
    default: return doc.m_ToolPlugin;
    }
}

void RepaintViews(CPelmarkDoc& doc) {
    for (framework::View* view : doc.GetViews()) view->repaint();
    Frame().PaletteColorsChanged();
}

// A floating selection takes the layer's new pixels under its rectangle.
void RenewFloatingSelection(CPelmarkDoc& doc) {
    if (!doc.m_hFloatImage) return;
    if (const auto& renew = Services().renewFloatingSelection) renew(doc);
    else document::LiftSelection(doc, doc.m_rcSelection);
}

struct RunOptions {
    RecordKind kind;
    bool useFL2 = false;
    bool useHexImage = false;
};

// Loads the selected library, asks ImportDlgIn, fills the record and calls
// the plug-in. Returns -1 when nothing ran (no library), else whether the
// plug-in reported a change; `watch` tells whether the document survived.
int CallPlugin(RunSlot& slot, CPelmarkDoc& doc, const RunOptions& options, DocumentWatch& watch,
               bool& wasModified) {
    framework::WaitCursor wait;
    std::string path = g_selectedPath.toStdString();
    platform::Module library(path);
    if (!library) return -1;
    slot.held = true;
    slot.doc = &doc;
    slot.info = PluginToolInfo{};
    slot.info.image = options.useHexImage ? g_hexImage : doc.m_hImage;
    wasModified = doc.IsModified();
    WinHandle mainWindow = MainWindow();

    int changed = 0;
    PluginPathBuffer work{};
    auto dialogIn = library.symbol<PluginImportDlgInFn>("ImportDlgIn");
    bool stop = dialogIn && dialogIn(mainWindow, &work, &slot.info, path.c_str()) != 0;
    if (!stop && !watch.gone()) {
        FillRecord(slot, doc, options.kind);
        PluginWindowSlot& docSlot = DocSlot(doc, options.kind);
        docSlot.record = &slot.record;
        docSlot.window = nullptr;
        if (options.kind == RecordKind::Anim) {
            if (const auto& lock = Services().lockForAnimationPlugin) lock();
            else Frame().LockForAnimationMaker();
            g_animDoc = &doc;
            g_animInfoCopy = slot.info;
        }
        auto call = library.symbol<PluginImportFLFn>(options.useFL2 ? "ImportFL2" : "ImportFL");
        wait.end();
        if (call) call(mainWindow, &slot.record, &slot.info, path.c_str());
        changed = slot.record.imageChanged == 1 ? 1 : 0;
    }
    slot.held = false;
    slot.doc = nullptr;
    library.reset();
    if (const auto& clear = Services().clearCommandLocks) clear();
    else Frame().ClearCommandLocks();
    return changed;
}

void FinishRun(CPelmarkDoc& doc, RecordKind kind, bool syncWindows) {
    doc.InitDib();
    RepaintViews(doc);
    DocSlot(doc, kind) = PluginWindowSlot{};
    if (doc.m_nLayerCount == 1) Frame().RebuildLayerPalette(&doc);
    Frame().ShowLayersOf(&doc);
    if (syncWindows) SyncToolWindows(&doc);
}

}  // namespace

int32_t& ToolClickX() { return tools::ProgramDragState().toolClick.x; }
int32_t& ToolClickY() { return tools::ProgramDragState().toolClick.y; }

void SelectPlugin(int index, const QString& path) {
    g_selectedIndex = index;
    g_selectedPath = path;
}

void SelectToolLibrary(const char* fileName) {
    SelectPlugin(0, GetProgramDirectory() + QString::fromUtf8(fileName));
}

int SelectedPluginIndex() { return g_selectedIndex; }
const QString& SelectedToolPath() { return g_selectedPath; }

int RunToolPlugin(CPelmarkDoc* doc, bool useFL2, bool keepUndo, bool useHexImage) {
    if (g_selectedIndex < 0 || !doc || g_tool.held) return 0;
    DocumentWatch watch(doc);
    bool wasModified = false;
    int changed = CallPlugin(g_tool, *doc, {RecordKind::Tool, useFL2, useHexImage}, watch, wasModified);
    if (changed < 0) return 0;
    if (watch.gone()) return 1;
    doc->SetModified(wasModified);
    if (changed) {
        doc->SetModified(true);
        RenewFloatingSelection(*doc);
    } else if (!keepUndo) {
        doc->DropUndoStep();
    } else if (useFL2) {
        RenewFloatingSelection(*doc);
    }
    FinishRun(*doc, RecordKind::Tool, true);
    return 1;
}

int RunAnimPlugin(CPelmarkDoc* doc, bool useFL2) {
    if (g_selectedIndex < 0 || !doc || g_anim.held) return 0;
    DocumentWatch watch(doc);
    bool wasModified = false;
    int changed = CallPlugin(g_anim, *doc, {RecordKind::Anim, useFL2, false}, watch, wasModified);
    if (changed < 0) return 0;
    if (watch.gone()) return 1;
    FinishRun(*doc, RecordKind::Anim, false);
    return 1;
}

int RunHexPlugin(CPelmarkDoc* doc, bool useFL2, bool useHexImage) {
    if (g_selectedIndex < 0 || !doc || g_hex.held) return 0;
    DocumentWatch watch(doc);
    bool wasModified = false;
    int changed = CallPlugin(g_hex, *doc, {RecordKind::Hex, useFL2, useHexImage}, watch, wasModified);
    if (changed < 0) return 0;
    if (watch.gone()) return 1;
    doc->SetModified(wasModified);
    FinishRun(*doc, RecordKind::Hex, true);
    return 1;
}

bool ToolRecordHeld() { return g_tool.held; }
bool AnimRecordHeld() { return g_anim.held; }
bool HexRecordHeld() { return g_hex.held; }

void SetAnimStartMode(uint8_t mode) { g_animStartMode = mode; }
uint8_t AnimStartMode() { return g_animStartMode; }
PluginToolRecord& AnimRecord() { return g_anim.record; }
const PluginToolInfo& AnimInfoCopy() { return g_animInfoCopy; }
CPelmarkDoc* AnimDocument() { return g_animDoc; }

void RestoreAnimTable() {
    if (!g_animDoc) return;
    std::memcpy(g_animDoc->m_AnimTable.data(), &g_anim.record.animTable,
                g_animDoc->m_AnimTable.size());
}

void SaveAnimTable(CPelmarkDoc* doc) {
    if (!doc) return;
    std::memcpy(&g_anim.record.animTable, doc->m_AnimTable.data(), doc->m_AnimTable.size());
}

PluginToolRecord& HexRecord() { return g_hex.record; }
MemHandle HexImage() { return g_hexImage; }
MemHandle HexLayer() { return g_hexLayer; }
void SetHexTiles(MemHandle image, MemHandle layer) {
    g_hexImage = image;
    g_hexLayer = layer;
}

WinHandle SlotWindow(const PluginWindowSlot& slot) {
    if (slot.window) return slot.window;
    return slot.record ? slot.record->window : nullptr;
}

namespace {

// The hex tiling picture and layer tiled afresh from the document's image,
// in the blocks the running tool already holds.
void RetileHex(MemHandle documentImage) {
    HexTiles fresh = MakeHexTiles(documentImage);
    const std::pair<MemHandle, MemHandle> copies[] = {{g_hexImage, fresh.image}, {g_hexLayer, fresh.layer}};
    for (const auto& [held, from] : copies) {
        if (!held || !from || MemSize(held) != MemSize(from)) continue;
        MemLockGuard to(held), source(from);
        if (to && source) std::memcpy(to.get(), source.get(), MemSize(held));
    }
    if (fresh.image) MemFree(fresh.image);
    if (fresh.layer) MemFree(fresh.layer);
}

}  // namespace

void SyncToolWindows(CPelmarkDoc* doc) {
    if (!doc) return;
    for (PluginWindowSlot* slot : {&doc->m_ToolPlugin, &doc->m_AnimPlugin}) {
        if (!slot->record) continue;
        slot->window = SlotWindow(*slot);
        for (WinHandle window : {slot->record->window2, slot->window})
            if (window) WinSendMessage(window, WM_TOOL_IMAGECHANGED, 0, 0);
    }
    // The hex tool, while it runs, gets its picture tiled from the image as
    // it is now, and its record.
    PluginWindowSlot& hex = doc->m_HexPlugin;
    if (!hex.record || !g_hexImage) return;
    RetileHex(doc->m_hImage);
    hex.window = SlotWindow(hex);
    for (WinHandle window : {hex.record->window2, hex.window})
        if (window) WinSendMessage(window, WM_TOOL_IMAGECHANGED, WinWParam(g_hexImage), WinLParam(hex.record));
}

void ToolHostDocumentGone(CPelmarkDoc* doc) {
    if (!doc) return;
    for (PluginWindowSlot* slot : {&doc->m_ToolPlugin, &doc->m_AnimPlugin, &doc->m_HexPlugin})
        slot->window = SlotWindow(*slot);
    for (RunSlot* slot : {&g_tool, &g_anim, &g_hex}) {
        if (slot->doc != doc) continue;
        PluginToolRecord& r = slot->record;
        slot->colorAfterClose = doc->m_nColor;
        r.currentColor = &slot->colorAfterClose;
        if (r.layers == doc->m_hLayers.data()) {
            slot->layers.fill(nullptr);
            r.layers = slot->layers.data();
        }
        r.selectionMask = nullptr;
        if (slot->info.image == doc->m_hImage) slot->info.image = nullptr;
        slot->doc = nullptr;
    }
    if (g_animDoc == doc) g_animDoc = nullptr;
    for (DocumentWatch* watch : g_watches)
        if (watch->doc_ == doc) watch->gone_ = true;
}

DocumentWatch::DocumentWatch(CPelmarkDoc* doc) : doc_(doc) { g_watches.push_back(this); }

DocumentWatch::~DocumentWatch() {
    g_watches.erase(std::find(g_watches.begin(), g_watches.end(), this));
}

}  // namespace plugin_host

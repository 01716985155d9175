// Running a tool or filter plug-in on a document: load the library, fill a
// PluginToolRecord, call it, free it, keep or drop the undo step, refresh.
//
// Three records: one for filters and ordinary tools, one for the animation
// maker, one for the hex tiling tool. A plug-in with a window runs that
// window's loop inside its call, so a record stays held until the call
// returns; a second run on a held record is refused. When the document is
// closed while its plug-in runs, the record's pointers are moved off it and
// the run ends without touching it.
#pragma once

#include <cstdint>

#include <QString>

#include "plugin_api/plugin_api.h"

class CPelmarkDoc;
struct PluginWindowSlot;

namespace plugin_host {

// Tool libraries, by name in the program directory.
inline constexpr char kAnimPluginName[] = "Cinereel.so";
inline constexpr char kTextPluginName[] = "Scribeon.so";
inline constexpr char kTonePluginName[] = "Tonalis.so";
inline constexpr char kFillPluginName[] = "Floodkit.so";
inline constexpr char kHexPluginName[] = "hex.so";

// The last left button-down in a canvas view (image pixels): the program's
// drag state, which the view writes; every record points at it.
int32_t& ToolClickX();
int32_t& ToolClickY();

// The plug-in the next run loads: a filter index (0 for a tool) and the
// library path. A negative index makes the runs return at once.
void SelectPlugin(int index, const QString& path);
// A tool library of the program directory, index 0.
void SelectToolLibrary(const char* fileName);
int SelectedPluginIndex();
const QString& SelectedToolPath();

// 1 after a run, 0 when the selected index is negative, the library cannot
// be loaded or the record is held by a run still going (the undo step the
// caller opened is then left as it is). useFL2 calls ImportFL2; keepUndo
// keeps the step even when nothing changed; useHexImage gives the plug-in
// the hex tiling picture instead of the document's image.
int RunToolPlugin(CPelmarkDoc* doc, bool useFL2, bool keepUndo, bool useHexImage);
// The animation maker: its own record and library, no undo step, the path
// text is the document's title, the start mode goes into the record.
int RunAnimPlugin(CPelmarkDoc* doc, bool useFL2);
// The hex tiling tool: its own record and library; the record's layer
// table holds the hex layer alone.
int RunHexPlugin(CPelmarkDoc* doc, bool useFL2, bool useHexImage);

// True while a run of that record is inside its call.
bool ToolRecordHeld();
bool AnimRecordHeld();
bool HexRecordHeld();

// The animation maker's start mode: 0 open the editor, 1 preview and finish.
void SetAnimStartMode(uint8_t mode);
uint8_t AnimStartMode();
// The animation maker's record and the info block of its last start.
PluginToolRecord& AnimRecord();
const PluginToolInfo& AnimInfoCopy();
// The document the animation maker was started for (null when none or
// closed).
CPelmarkDoc* AnimDocument();
// WM_PLUGIN_STOREANIMTABLE: the animation record's frame table goes back
// into the document the animation maker was started for.
void RestoreAnimTable();
// The document's frame table into the animation record.
void SaveAnimTable(CPelmarkDoc* doc);

// The hex tool's record.
PluginToolRecord& HexRecord();
// The hex tiling picture and layer while the hex tool runs (else null).
MemHandle HexImage();
MemHandle HexLayer();
void SetHexTiles(MemHandle image, MemHandle layer);

// The plug-in window a slot reports: the slot's window, else the one its
// record reports.
WinHandle SlotWindow(const PluginWindowSlot& slot);
// WM_TOOL_IMAGECHANGED (0, 0) to both windows of the document's tool and
// animation records (each slot keeps the window its record reports); while
// the hex tool runs, its picture is tiled afresh from the document's image
// and its two windows get the picture and its record.
void SyncToolWindows(CPelmarkDoc* doc);

// The document is being destroyed: remembers the windows its records
// report (so that it can tell them), moves every running record off it and
// forgets it as the animation maker's document.
void ToolHostDocumentGone(CPelmarkDoc* doc);

// Watches a document for the length of a scope: gone() turns true when the
// document is destroyed meanwhile.
class DocumentWatch {
public:
    explicit DocumentWatch(CPelmarkDoc* doc);
    ~DocumentWatch();
    DocumentWatch(const DocumentWatch&) = delete;
    DocumentWatch& operator=(const DocumentWatch&) = delete;
    bool gone() const { return gone_; }
    CPelmarkDoc* doc() const { return gone_ ? nullptr : doc_; }

private:
    friend void ToolHostDocumentGone(CPelmarkDoc* doc);
    CPelmarkDoc* doc_;
    bool gone_ = false;
};

}  // namespace plugin_host

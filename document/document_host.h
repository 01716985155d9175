// What a document, and a drawing tool working on one, needs from the program
// around it: work memory and its messages, the command locks, the user's
// answer for a new image, the active view, the tool settings, the plug-in
// host's part in every document, and notifications of what changed in a
// document. The host decides what to repaint and which palette follows; the
// main frame is the program's host.
//
// Without an installed host every question has its quiet answer (work memory
// available, nothing locked, no active view, settings 0, no new image) and
// every notification goes nowhere, so that a document lives in a test
// without windows.
#pragma once

#include <QString>

class CPelmarkDoc;

namespace framework {
class CommandTable;
class View;
}  // namespace framework

namespace document {

struct LayerSheetGrid;

// A new image as the user asked for it.
struct NewImageSettings {
    unsigned width = 0;
    unsigned height = 0;
    // 0 the 256-colour mode, 1 the 16-colour mode.
    int colorMode = 0;
    // Bytes per pixel (0: 8-bit indexed).
    int bytesPerPixel = 0;
    // The palette comes from the working palette (a palette file read into
    // it, or as it stands); else the default table with entry 0 `background`.
    bool fromWorkingPalette = false;
    struct Color {
        int red = 0, green = 0, blue = 0, alpha = 0;
    };
    Color background;
    // Name of the first layer.
    QString layerName;
};

enum class NewImageAnswer {
    kCancelled,
    // The answer cannot be used (a palette file that gives no palette):
    // probe the memory and ask again.
    kAskAgain,
    kAccepted,
};

class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    // Work memory. The probe of `mode` (2: 250,000,000 bytes, else the
    // maximum image size x 8); false after telling the user it is short.
    virtual bool HasWorkMemory(int mode) = 0;
    // "工作内存不足" / "内存不足。" for an edit that could not get its memory.
    virtual void ReportWorkMemoryShort() = 0;
    virtual void ReportOutOfMemory() = 0;

    // Command locks: true while any is set; the release clears them all.
    virtual bool CommandsLocked() const = 0;
    virtual void ReleaseCommandLocks() = 0;

    // Asks the user for the size, colour mode and palette of a new image;
    // with a palette file the working palette already holds its palette.
    virtual NewImageAnswer AskNewImage(NewImageSettings* settings) = 0;
    // The layer dialogs: each runs modally on the document and makes its
    // change on OK; true when it was made. Without a dialog to ask (the
    // default) nothing changes.
    // A new layer into the empty `slot`, named and drawn as the user chose.
    virtual bool RunNewLayerDialog(CPelmarkDoc* doc, int slot);
    // A copy of the edit layer into slot count, named by the user; the copy
    // becomes the edit layer.
    virtual bool RunCopyLayerDialog(CPelmarkDoc* doc);
    // The columns and rows of the layer sheet; false when the user cancelled.
    virtual bool AskLayerSheetGrid(CPelmarkDoc* doc, LayerSheetGrid* grid);
    // The view the user works in, or null.
    virtual framework::View* ActiveView() const = 0;
    // The drawing tools' setting of `index` (0 for an unknown index).
    virtual int ToolSetting(int index) = 0;

    // The plug-in host: its commands join every document's table; a
    // document about to be destroyed is taken off every plug-in run.
    virtual void DeclarePluginCommands(framework::CommandTable& table, CPelmarkDoc* doc) = 0;
    virtual void DocumentClosing(CPelmarkDoc* doc) = 0;

    // Notifications of what changed in a document (null when a tool works
    // without one).
    // A document was made: the tool state starts afresh.
    virtual void DocumentCreated(CPelmarkDoc* doc) = 0;
    // The layers' pixels or settings changed: the composite is renewed from
    // them and the layer list follows.
    virtual void LayersChanged(CPelmarkDoc* doc) = 0;
    // The set of layers changed, the composite stands as it is.
    virtual void LayerListChanged(CPelmarkDoc* doc) = 0;
    // The current layer is now the list's row `row` (counted from the top).
    virtual void CurrentLayerChanged(CPelmarkDoc* doc, int row) = 0;
    // The image's pixels changed.
    virtual void ImageChanged(CPelmarkDoc* doc) = 0;
    // A drawing tool finished drawing into the image (the plug-in windows
    // that show it take it again).
    virtual void ImageDrawn(CPelmarkDoc* doc) = 0;
    // The image was exchanged for another (an image-size step undone).
    virtual void ImageReplaced(CPelmarkDoc* doc) = 0;
    // The image's size or the position shown changed.
    virtual void PositionChanged(CPelmarkDoc* doc) = 0;
    // The palette (colour table) changed / the current colour changed.
    virtual void PaletteChanged(CPelmarkDoc* doc) = 0;
    virtual void CurrentColorChanged(CPelmarkDoc* doc) = 0;
    // The undo history or the modified flag changed.
    virtual void EditStateChanged(CPelmarkDoc* doc) = 0;
    // The current tool became the tool of index `toolIndex`.
    virtual void ToolChanged(CPelmarkDoc* doc, int toolIndex) = 0;
    // The layer sheet of width x height over columns x rows cells
    // (LayOutLayerSheet) with the refreshes of the document's active view;
    // without a host or a view of the document only the sheet is laid out.
    virtual bool ResizeActiveCanvas(CPelmarkDoc* doc, int width, int height, int columns, int rows,
                                    bool dropUncovered);
};

// Installs the program's host (null: none). The host outlives its
// installation.
void SetDocumentHost(DocumentHost* host);
// The installed host, or null.
DocumentHost* InstalledDocumentHost();
// The installed host, else one that gives the quiet answers.
DocumentHost& Host();

}  // namespace document

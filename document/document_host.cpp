#include "document/document_host.h"

#include "document/layer_operations.h"

namespace document {

namespace {

class NoHost final : public DocumentHost {
public:
    bool HasWorkMemory(int) override { return true; }
    void ReportWorkMemoryShort() override {}
    void ReportOutOfMemory() override {}
    bool CommandsLocked() const override { return false; }
    void ReleaseCommandLocks() override {}
    NewImageAnswer AskNewImage(NewImageSettings*) override { return NewImageAnswer::kCancelled; }
    framework::View* ActiveView() const override { return nullptr; }
    int ToolSetting(int) override { return 0; }
    void DeclarePluginCommands(framework::CommandTable&, CPelmarkDoc*) override {}
    void DocumentClosing(CPelmarkDoc*) override {}
    void DocumentCreated(CPelmarkDoc*) override {}
    void LayersChanged(CPelmarkDoc*) override {}
    void LayerListChanged(CPelmarkDoc*) override {}
    void CurrentLayerChanged(CPelmarkDoc*, int) override {}
    void ImageChanged(CPelmarkDoc*) override {}
    void ImageDrawn(CPelmarkDoc*) override {}
    void ImageReplaced(CPelmarkDoc*) override {}
    void PositionChanged(CPelmarkDoc*) override {}
    void PaletteChanged(CPelmarkDoc*) override {}
    void CurrentColorChanged(CPelmarkDoc*) override {}
    void EditStateChanged(CPelmarkDoc*) override {}
    void ToolChanged(CPelmarkDoc*, int) override {}
};

DocumentHost* g_host = nullptr;

}  // namespace

bool DocumentHost::RunNewLayerDialog(CPelmarkDoc*, int) { return false; }
bool DocumentHost::RunCopyLayerDialog(CPelmarkDoc*) { return false; }
bool DocumentHost::AskLayerSheetGrid(CPelmarkDoc*, LayerSheetGrid*) { return false; }
bool DocumentHost::ResizeActiveCanvas(CPelmarkDoc* doc, int width, int height, int columns, int rows,
                                      bool dropUncovered) {
    return doc && LayOutLayerSheet(*doc, width, height, columns, rows, dropUncovered);
}

void SetDocumentHost(DocumentHost* host) { g_host = host; }

DocumentHost* InstalledDocumentHost() { return g_host; }

DocumentHost& Host() {
    static NoHost none;
    return g_host ? *g_host : none;
}

}  // namespace document

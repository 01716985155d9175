// A program around canvas views: an application with its settings file in a
// temporary directory, the editor's main frame shown offscreen, and the
// document template; documents with a patterned image in distinct colours.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>

#include <QImage>
#include <QTemporaryDir>

#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "framework/application.h"
#include "framework/doc_template.h"
#include "tools/tool_options.h"
#include "view/child_frame.h"
#include "view/pelmark_view.h"

namespace viewtest {

// The tool palette's setting controls, as far as a test sets them.
class PanelControls : public ToolOptionControls {
public:
    std::optional<int> ReadControl(int id) override {
        auto it = values.find(id);
        return it == values.end() ? std::nullopt : std::optional<int>(it->second);
    }
    void WriteControl(int id, int value) override { values[id] = value; }
    std::map<int, int> values;
};

class ViewTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // A new untitled document of width x height in its frame; pixel (x, y)
    // holds PatternIndex(x, y).
    CPelmarkView* OpenImage(int width, int height);
    // A second frame and view on the document of `view`.
    CPelmarkView* OpenSecondView(CPelmarkView* view);
    // Writes a settings key and reloads the grid settings.
    void WriteSetting(const char* section, const char* key, const char* value);
    // The client area of the view as painted now.
    static QImage Grab(CPelmarkView* view);
    // Gives the view's frame a size that leaves the view `w` x `h`.
    static void SetViewSize(CPelmarkView* view, int w, int h);

    static int PatternIndex(int x, int y) { return (x * 7 + y * 13) % 256; }
    // The colour entry i shows; its alpha is 255 - i.
    static QRgb EntryColor(int i) { return qRgb(i, 255 - i, (i * 37) % 256); }
    static QRgb AlphaGrey(int i) { return qRgb(255 - i, 255 - i, 255 - i); }

    QTemporaryDir dir;
    // A new document through File New and its new-image dialog (256
    // colours, width x height, one layer), in the view of its frame.
    CPelmarkView* NewDocument(int width, int height);

    std::unique_ptr<framework::Application> app;
    CMainFrame* frame = nullptr;
    framework::DocTemplate* docTemplate = nullptr;
};

// Palette indices of the composite and of layer `layer` at (x, y).
uint8_t Composite(const CPelmarkDoc& doc, int x, int y);
uint8_t Layer(const CPelmarkDoc& doc, int layer, int x, int y);

}  // namespace viewtest

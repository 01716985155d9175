// The palette editor (dialog 236 "编辑调色板"): a working palette of 256
// colours beside the document's palette. The user loads and saves it as a
// palette file (*.clt), takes it from an image file, and puts it into the
// document with "＜替换"; colour reduction, unused-colour removal and the
// gradient start from here. Cancel gives the document back its image, every
// layer and its colour mode as they were when the editor opened.
//
// Runs window-modal to the main window, so that the gradient dialog and the
// colour palette bar it starts take input while it is open.
#pragma once

#include <cstdint>
#include <vector>

#include <QString>

#include "dialogs/color_grid.h"
#include "framework/dialog.h"
#include "platform/memory.h"

class CPelmarkDoc;

class CPaletteEditDlg : public framework::Dialog, public PaletteGridHost {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 236;
    // The palette grids: the working palette ("引用调色板") and the
    // document's ("现在调色板").
    static constexpr int kReferenceGridId = 1133;
    static constexpr int kCurrentGridId = 1134;
    static constexpr int kReplaceId = 1142;        // "＜替换"
    static constexpr int kOpenClutId = 229;        // "载入"
    static constexpr int kSaveClutId = 1141;       // "保存"
    static constexpr int kFromImageId = 1144;      // "指定图像"
    static constexpr int kReduceId = 1135;         // "减色"
    static constexpr int kDeleteUnusedId = 238;    // "删除未使用色"
    static constexpr int kGradationId = 1137;      // "制作渐变"
    static constexpr int kReplaceColorId = 1140;   // "替换颜色"

    // The filter of the palette-file prompts.
    static const QString& ClutFilter();

    // `doc`: the active document (null when none is open).
    explicit CPaletteEditDlg(CPelmarkDoc* doc, QWidget* parent = nullptr);
    ~CPaletteEditDlg() override;

    // The open palette editor, or null.
    static CPaletteEditDlg* OpenEditor();
    // The palette file chosen last in the editor's prompts (empty at start).
    static QString& ClutPath();

    // The grids' swap mode: the replace-colour mode.
    bool SwapMode() const override;

    CPaletteGrid* ReferenceGrid() const { return reference_; }
    CPaletteGrid* CurrentGrid() const { return current_; }

    // The working palette takes the document's colour table.
    void LoadFromDocument();
    // The working palette as it was at opening goes into the document.
    void ReplacePalette();
    // Repaints both palette grids.
    void Redraw();

    void OnReplacePalette();
    void OnOpenClut();
    void OnSaveClut();
    void OnPaletteFromImage();
    void OnReduceColors();
    void OnDeleteUnusedColors();
    void OnMakeGradation();
    void OnReplaceColorMode();

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    // The document as the editor found it.
    struct Kept {
        MemHandle image = nullptr;
        std::vector<MemHandle> layers;
        uint16_t paletteLock = 0;
        int color = 0;
        int colorMode = 0;
        bool modified = false;
        // The last undo step when the editor opened.
        int32_t undoIndex = -1;
    };
    // Copies the document's image and layers; false when a copy cannot be
    // had (nothing is kept then).
    bool keepDocument();
    void freeKept();
    // Puts the kept image, layers and colour mode back.
    void restoreDocument();
    // The prompt for a palette file; false when cancelled.
    bool promptClut(bool open, QString* path);
    void warn(const QString& text);
    // After a change of the document's palette from here: used colours,
    // palettes, views, the colour palette bar, the grids.
    void afterPaletteChange(CPelmarkDoc* doc);

    CPelmarkDoc* doc_;
    CPaletteGrid* reference_ = nullptr;
    CPaletteGrid* current_ = nullptr;
    Kept kept_;
    bool lentToolWindows_ = false;
};

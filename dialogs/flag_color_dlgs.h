// The two dialogs made of flag grids:
// - CUnusedColorDlg (dialog 139 "删除未使用的颜色"): marks the entries to
//   delete among those the image does not use (the enabled ones); "全选",
//   "取消选择" and "反向选择" change only those.
// - CMaskColorDlg (dialog 132 "遮罩颜色设置"): the colours removed when
//   copying (grid 272) and protected when pasting (grid 1132); each grid's
//   three buttons change all 256 flags, the mouse only the enabled cells.
// The caller sets the flags (and which cells are enabled) before DoModal
// and reads the flags after OK.
#pragma once

#include <array>
#include <cstdint>

#include "framework/dialog.h"

class CFlagGrid;
class CPelmarkDoc;

using ColorFlags = std::array<uint8_t, 256>;

// What a flag grid's select-all, select-none and invert buttons change.
enum class FlagButtons { EnabledOnly, All };

class CUnusedColorDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 139;
    static constexpr int kGridId = 272;
    static constexpr int kSelectAllId = 273;
    static constexpr int kSelectNoneId = 274;
    static constexpr int kInvertId = 275;

    explicit CUnusedColorDlg(CPelmarkDoc* doc, QWidget* parent = nullptr);

    // Entries to delete; enabled = the image does not use the entry.
    ColorFlags flags{};
    ColorFlags enabled{};

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    CFlagGrid* grid_;
};

class CMaskColorDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 132;
    static constexpr int kCopyGridId = 272;
    static constexpr int kCopyAllId = 273;
    static constexpr int kCopyNoneId = 274;
    static constexpr int kCopyInvertId = 275;
    static constexpr int kPasteGridId = 1132;
    static constexpr int kPasteAllId = 279;
    static constexpr int kPasteNoneId = 280;
    static constexpr int kPasteInvertId = 281;

    explicit CMaskColorDlg(CPelmarkDoc* doc, QWidget* parent = nullptr);

    // Colours removed when copying / protected when pasting, and the cells
    // the mouse may change (all at first).
    ColorFlags copyFlags{};
    ColorFlags pasteFlags{};
    ColorFlags copyEnabled{};
    ColorFlags pasteEnabled{};

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    CFlagGrid* copyGrid_;
    CFlagGrid* pasteGrid_;
};

// The action ids of undo steps, named by the edit each step undoes. A step
// keeps its id; undo and redo read it to know what the restore must renew
// (the image size, the palette, the scale frame) and which presses of the
// same key join one step.
#pragma once

#include <cstdint>

namespace document {

inline constexpr int32_t kImageSizeAction = 126;          // "改变图象尺寸"
inline constexpr int32_t kLayerAction = 225;              // new, copy, delete, order, merges
inline constexpr int32_t kRecolorAction = 237;            // colour replacement, unused colours, reduction
inline constexpr int32_t kBorderLineAction = 551;         // "放置边界线"
inline constexpr int32_t kPenAction = 554;                // the pen
inline constexpr int32_t kLineAction = 555;               // lines and curves
inline constexpr int32_t kRectOutlineAction = 557;        // the shape tools, by tool id
inline constexpr int32_t kEllipseOutlineAction = 558;
inline constexpr int32_t kClearLayerAction = 560;         // "全消除"
inline constexpr int32_t kFilledRectAction = 560;         // shares its id with "全消除"
inline constexpr int32_t kFilledEllipseAction = 561;
inline constexpr int32_t kTextToolAction = 562;           // "输入文字"
inline constexpr int32_t kFloatMirrorAction = 563;        // "水平翻转"
inline constexpr int32_t kFloatFlipAction = 564;          // "上下反转"
inline constexpr int32_t kFloatUpAction = 565;            // one-pixel moves of the floating selection
inline constexpr int32_t kFloatLeftAction = 566;
inline constexpr int32_t kFloatRightAction = 567;
inline constexpr int32_t kFloatDownAction = 568;
inline constexpr int32_t kScaleToolAction = 569;          // the scale tool
inline constexpr int32_t kRotateToolAction = 570;         // the rotate tool
inline constexpr int32_t kDeleteSelectionAction = 571;    // "选取消除"
inline constexpr int32_t kCircleAction = 575;
inline constexpr int32_t kFilledCircleAction = 576;
inline constexpr int32_t kPluginAction = 578;             // filter and tool plug-ins
inline constexpr int32_t kEditModeAction = 690;           // 16/256-colour mode, palette replacement
inline constexpr int32_t kColorEditAction = 700;          // colour edits of the palettes
inline constexpr int32_t kGradientColorsAction = 701;     // "生成渐变颜色"
inline constexpr int32_t kSelectAction = 702;             // select all, none, invert
inline constexpr int32_t kSelectionMoveAction = 703;      // "选区移动" by mouse
inline constexpr int32_t kSelectionKeyMoveAction = 704;   // "选区移动" by cursor key
inline constexpr int32_t kReleaseFloatingAction = 705;    // "选取解除"
inline constexpr int32_t kAlphaAction = 706;              // "改变 Alpha 值"
inline constexpr int32_t kCutAction = 57635;              // "剪切"
inline constexpr int32_t kPasteAction = 57637;            // "粘贴"

// Steps whose restore renews the palette (the colour table was the edit; a
// plug-in, the colour tone in palette mode, may have changed it too).
inline constexpr bool RestoresPalette(int32_t action) {
    return action == kRecolorAction || action == kEditModeAction || action == kColorEditAction ||
           action == kGradientColorsAction || action == kAlphaAction || action == kPluginAction;
}

// Moves that join the step of the same move just before.
inline constexpr bool IsRepeatedMove(int32_t action) {
    return (action >= kFloatUpAction && action <= kFloatDownAction) || action == kSelectionKeyMoveAction;
}

}  // namespace document

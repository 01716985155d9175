#include "frame/command_locks.h"

#include <algorithm>

bool CommandLockTable::AnySet() const {
    return std::any_of(locks_.begin(), locks_.end(), [](uint8_t lock) { return lock != 0; });
}

int CommandLockTable::LockOf(framework::CommandId id) {
    if ((id >= 551 && id <= 576) || (id >= 600 && id <= 608) || (id >= 625 && id <= 634))
        return kToolCommands;
    if (id >= 34002 && id <= 34007) return kZoom;
    if (id >= 34018 && id <= 34020) return kPasteModes;
    if (id >= 2000 && id <= 2030) return kFilters;
    if ((id >= 3000 && id <= 3004) || id == 954) return kPaletteBar;
    switch (id) {
    case 34034: case 34035: return kSnap;
    case 34036: case 34037: return kGuides;
    case 34012: case 34027: return kAnimationButtons;
    case 635: return kAlphaView;
    case 57634: case 57635: case 57637: case 32853: return kClipboard;
    case 57602: return kClose;
    case 57604: return kSaveAs;
    case 32849: return kRevert;
    case 32848: return kAddBorder;
    case 34014: return kSelectAll;
    case 34013: return kImageSize;
    case 34024: return kEditMode;
    case 57643: case 32852: case 57644: return kUndo;
    case 34031: case 34032: return kPasteConversion;
    case 32855: return kChangeTone;
    case 32856: return kInvertTone;
    case 34025: return kColorMap;
    case 34028: return kDeleteUnused;
    case 34021: return kMaskColors;
    case 34017: return kGradient;
    case 32858: return kPaletteEditor;
    case 32859: case 32860: case 32861: case 32864: case 32865: case 32866: case 32867:
    case 32868: case 32932: case 32933: case 32942:
        return kLayers;
    default: return -1;
    }
}

void CommandLockTable::LockEditCommands(int mode) {
    set(kPasteModes);
    set(kClipboard);
    if (mode == 1) return;
    for (int lock = kZoom; lock <= kAlphaView; ++lock) set(lock);
}

void CommandLockTable::LockSelectCommands(int mode) {
    for (int lock : {kClose, kSaveAs, kAddBorder, kSelectAll}) set(lock);
    if (mode == 1) return;
    set(kRevert);
    set(kSpare);
    for (int lock = kImageSize; lock <= kPaletteEditor; ++lock) set(lock);
}

void CommandLockTable::LockForAnimationPlugin() {
    for (int lock : {kClose, kImageSize, kEditMode}) set(lock);
}

void CommandLockTable::LockAllCommands() {
    LockToolCommands();
    LockSelectCommands(0);
    LockEditCommands(0);
    LockViewCommand();
    LockPaletteCommand();
    LockLayerCommands();
}

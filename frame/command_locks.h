// The command locks: 28 flags that grey out groups of commands while a
// selection, a plug-in or a modal operation is under way, and the
// tool-windows-disabled flag beside them (set while a plug-in has disabled
// the tool windows; nearly every command is disabled then).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "framework/command_ids.h"

class CommandLockTable {
public:
    static constexpr int kLocks = 28;

    enum Lock {
        kToolCommands = 0,   // 551-576, pens 600-608, image-map tools 625-634
        kZoom = 1,           // 34002-34007
        kSnap = 2,           // 34034, 34035
        kGuides = 3,         // 34036, 34037
        kAnimationButtons = 4,  // 34012, 34027
        kAlphaView = 5,      // 635
        kPasteModes = 6,     // 34018-34020
        kClipboard = 7,      // 57634, 57635, 57637, 32853
        kClose = 8,          // 57602
        kSaveAs = 9,         // 57604
        kRevert = 10,        // 32849
        kAddBorder = 11,     // 32848
        kSpare = 12,         // no command
        kSelectAll = 13,     // 34014
        kImageSize = 14,     // 34013
        kEditMode = 15,      // 34024
        kUndo = 16,          // 57643, 32852, 57644
        kPasteConversion = 17,  // 34031, 34032
        kChangeTone = 18,    // 32855
        kInvertTone = 19,    // 32856
        kColorMap = 20,      // 34025
        kDeleteUnused = 21,  // 34028
        kMaskColors = 22,    // 34021
        kGradient = 23,      // 34017
        kPaletteEditor = 24,  // 32858
        kFilters = 25,       // 2000-2030
        kPaletteBar = 26,    // 3000-3004, 954
        kLayers = 27,        // the layer commands and the layer palette's buttons
    };

    bool IsSet(int lock) const { return lock >= 0 && lock < kLocks && locks_[size_t(lock)] != 0; }
    bool AnySet() const;
    // The lock that disables a command, or -1 for a command no lock covers.
    static int LockOf(framework::CommandId id);
    // True when the command's lock is set.
    bool Disables(framework::CommandId id) const { return IsSet(LockOf(id)); }

    void ClearCommandLocks() { locks_.fill(0); }
    void LockToolCommands() { set(kToolCommands); }
    // Locks 6 and 7; unless mode is 1 also 1 to 5.
    void LockEditCommands(int mode);
    // Locks 8, 9, 11, 13; unless mode is 1 also 10, 12 and 14 to 24.
    void LockSelectCommands(int mode);
    void LockForAnimationPlugin();
    void LockViewCommand() { set(kFilters); }
    void LockPaletteCommand() { set(kPaletteBar); }
    void LockLayerCommands() { set(kLayers); }
    // Every lock: tool, select and edit (both full), view, palette, layer.
    void LockAllCommands();

    bool ToolWindowsDisabled() const { return toolWindowsDisabled_; }
    void SetToolWindowsDisabled(bool disabled) { toolWindowsDisabled_ = disabled; }

private:
    void set(int lock) { locks_[size_t(lock)] = 1; }

    std::array<uint8_t, kLocks> locks_{};
    bool toolWindowsDisabled_ = false;
};

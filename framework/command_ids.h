// Command ids the framework itself knows: the standard file, edit, window,
// bar and application commands, and the two dialog buttons every dialog
// understands. Program commands start at 32768.
#pragma once

#include <cstdint>

namespace framework {

using CommandId = uint32_t;

// Dialog buttons (also the results of Dialog::DoModal).
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

inline constexpr CommandId ID_FILE_NEW = 57600;
inline constexpr CommandId ID_FILE_OPEN = 57601;
inline constexpr CommandId ID_FILE_CLOSE = 57602;
inline constexpr CommandId ID_FILE_SAVE = 57603;
inline constexpr CommandId ID_FILE_SAVE_AS = 57604;
inline constexpr CommandId ID_FILE_PRINT_SETUP = 57606;
inline constexpr CommandId ID_FILE_PRINT = 57607;
inline constexpr CommandId ID_FILE_PRINT_PREVIEW = 57609;

inline constexpr CommandId ID_EDIT_CLEAR = 57632;
inline constexpr CommandId ID_EDIT_CLEAR_ALL = 57633;
inline constexpr CommandId ID_EDIT_COPY = 57634;
inline constexpr CommandId ID_EDIT_CUT = 57635;
inline constexpr CommandId ID_EDIT_PASTE = 57637;
inline constexpr CommandId ID_EDIT_SELECT_ALL = 57642;
inline constexpr CommandId ID_EDIT_UNDO = 57643;
inline constexpr CommandId ID_EDIT_REDO = 57644;

inline constexpr CommandId ID_WINDOW_NEW = 57648;
inline constexpr CommandId ID_WINDOW_ARRANGE = 57649;
inline constexpr CommandId ID_WINDOW_CASCADE = 57650;
inline constexpr CommandId ID_WINDOW_TILE_HORZ = 57651;
inline constexpr CommandId ID_WINDOW_TILE_VERT = 57652;

// The next and the previous document window (F6, Shift+F6).
inline constexpr CommandId ID_NEXT_PANE = 57680;
inline constexpr CommandId ID_PREV_PANE = 57681;

inline constexpr CommandId ID_APP_ABOUT = 57664;
inline constexpr CommandId ID_APP_EXIT = 57665;

// Control bars: a bar registered with the main frame under an id in this
// range is shown and hidden by the command of the same id.
inline constexpr CommandId ID_VIEW_TOOLBAR = 59392;
inline constexpr CommandId ID_VIEW_STATUS_BAR = 59393;
inline constexpr CommandId ID_CONTROLBAR_FIRST = 59392;
inline constexpr CommandId ID_CONTROLBAR_LAST = 59647;

}  // namespace framework

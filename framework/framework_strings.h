// Texts of the framework's own prompts and messages, by string id.
#pragma once

#include <QString>

namespace framework {

inline constexpr int IDS_OPEN_TITLE = 61440;           // title of the open prompt
inline constexpr int IDS_SAVE_TITLE = 61441;           // title of the save prompt
inline constexpr int IDS_ALL_FILTER = 61442;           // "all files" filter name
inline constexpr int IDS_ASK_TO_SAVE = 61699;          // %1: document title
inline constexpr int IDS_FAILED_TO_CREATE_DOC = 61700;
inline constexpr int IDS_ASK_TO_REPLACE = 61720;       // %1: file name
inline constexpr int IDS_UNTITLED = 57345;

// The text, or an empty text for an unknown id.
QString FrameworkString(int id);

}  // namespace framework

// The program's own recent-file list shown in the File menu: section
// "cRecent File List", keys File1 (newest) to File10, each a whole path.
// Commands 4000 to 4009 stand for File1 to File10.
#pragma once

#include <QString>

#include "framework/command_ids.h"

inline constexpr int kProgramRecentFiles = 10;
inline constexpr framework::CommandId kFirstRecentFileId = 4000;

// The path of slot `n` (1..10); empty when the slot is empty.
QString ProgramRecentFile(int n);
// After a successful open: an empty slot takes the path; a path already
// listed moves to File1 (the ones before it move down one); with all ten
// slots held by other paths the oldest is dropped and the path goes to File1.
void AddProgramRecentFile(const QString& path);
// The menu text of slot n: "n." when empty, "n. path" when filled.
QString ProgramRecentMenuText(int n);

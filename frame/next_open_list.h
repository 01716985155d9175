// The documents open at the last close ("Next Open File List", keys File1
// upward, each a whole path; the list ends at the first missing or empty
// key). The main frame writes it when the program closes; the start-up
// opens what it lists.
#pragma once

#include <QString>
#include <QStringList>

inline constexpr int kNextOpenPathMax = 255;

// The path of entry `index` (key File<index + 1>), empty when missing; at
// most 255 characters.
QString GetNextOpenFile(int index);
void SetNextOpenFile(const QString& path, int index);
// Deletes the keys from File1 upward, up to the first missing or empty one.
void ClearNextOpenFiles();
// Clears the list and writes the paths as File1, File2, ...
void WriteNextOpenFiles(const QStringList& paths);

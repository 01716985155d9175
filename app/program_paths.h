// Where the program finds its files and its settings.
#pragma once

#include <QString>

#include "framework/program_globals.h"

inline constexpr const char* kSettingsFileName = "pm32.ini";

// A directory with exactly one '/' at its end ("" stays "").
QString WithTrailingSlash(const QString& directory);

// The settings file: "pm32.ini" in the program directory when that file can
// be opened for reading, else "pm32.ini" in the fallback directory (which is
// created by the first write). Both directories end in '/'.
QString SettingsFilePath(const QString& programDirectory, const QString& fallbackDirectory);


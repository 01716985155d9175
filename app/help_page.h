// The help page: "index.html" of the program directory, opened with the
// desktop's handler for HTML files.
#pragma once

#include <functional>

#include <QString>
#include <QUrl>

#include "platform/window.h"

inline constexpr const char* kHelpPageName = "index.html";

QUrl HelpPageUrl(const QString& programDirectory);

// Opens the page; when the page is missing or no handler takes it, shows
// "错误" (owned by `owner`). True when a handler took it.
bool OpenHelpPage(const QString& programDirectory, WinHandle owner);

// How URLs are opened; the default is QDesktopServices::openUrl. An empty
// function restores the default. Returns the previous one (empty for the
// default).
using UrlOpener = std::function<bool(const QUrl&)>;
UrlOpener SetUrlOpener(UrlOpener opener);

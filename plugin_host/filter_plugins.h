// The filter list: every library of the program directory whose name
// matches "*.GLT", found once, at the first paint of any view, and shown as
// the items of the filter menu (ids 2001 upward; 2001 to 2030 run a filter,
// items past the 30th stay disabled). Filters added later are seen after a
// restart.
#pragma once

#include <string>
#include <vector>

#include <QString>

namespace plugin_host {

// At most this many filters are listed, and at most this many items go
// into the filter menu.
inline constexpr int kMaxFilterPlugins = 50;
inline constexpr int kMaxFilterMenuItems = 99;
// The filter commands: id 2001 + index.
inline constexpr int kFirstFilterCommand = 2001;
inline constexpr int kLastFilterCommand = 2030;

// The menu the filters are shown in. The application object offers it by
// deriving from it; with an application that does not, no items are made.
class FilterMenu {
public:
    virtual ~FilterMenu() = default;
    // Takes away the filter items (and, the first time, the menu's
    // placeholder item).
    virtual void RemoveFilterMenuItems() = 0;
    // Appends one filter item.
    virtual void AddFilterMenuItem(const QString& text) = 0;
};

// The filter table: each entry the filter's GetInfo text, "/<", the
// library's path, ">/".
const std::vector<std::string>& FilterTable();
// From the table, indexed from 0: the menu texts (the GetInfo text up to its
// first '/') and the library paths.
const std::vector<QString>& FilterNames();
const std::vector<QString>& FilterPaths();

// Empties the table and lists every "*.GLT" of the directory in name order;
// a library without GetInfo (or one that cannot be loaded) is reported with
// "<path>\n 是旧格式". Every library is freed again. Returns the count.
int FindFilterPlugins(const QString& directory);
int FindFilterPlugins();

// The first call of a program run: removes the filter items (and the menu's
// placeholder), finds the filters of the program directory and appends one
// item per filter; the grid preset items are added with it. Later calls do
// nothing. The canvas view calls it at its first paint.
void BuildFilterMenu();
// True once BuildFilterMenu has run; the reset is for tests.
bool FilterMenuBuilt();
void ResetFilterMenuForTests();

}  // namespace plugin_host

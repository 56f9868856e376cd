#pragma once
// The main window's menus as a table: one row a title, item, separator or submenu, in
// menu-bar order. The main window builds its menu bar from it, and the tests walk the
// bar against it.

#include <cstddef>
#include <cstdint>
#include <span>

enum class TMenuRowKind {
    Title,  // starts the next menu of the bar
    Item,
    Separator,
    Submenu,  // an item that opens the rows up to SubmenuEnd
    SubmenuEnd,
};

// Where an item's message goes.
enum class TMenuTarget { None, EditorView, Application, Window };

struct TMainMenuRow {
    TMenuRowKind kind;
    const char* labelKey;  // looked up in the catalogue
    const char* letter;    // the accelerator letter merged into the label
    bool dots;             // "..." after the merged label
    uint32_t what;
    char shortcut;  // with Ctrl; 0 for none
    TMenuTarget target;
};

std::span<const TMainMenuRow> main_menu_rows();

// Where the recent lists of the Open submenu are listed: in front of its separator.
inline constexpr int kRecentListsMenuIndex = 0;

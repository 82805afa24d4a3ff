// The editor's commands as data: identifiers, captions, the menu bar, the tool bar, the context
// and gesture menus. The windows are built from these tables, so the Qt front end and the tests
// see the same menus.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tools/command_ids.h"

namespace zevo {

// A menu as data: entries in order. An entry without a command is a separator, or a submenu
// when it has entries of its own.
struct MenuEntry {
    Cmd id;
    std::string_view caption = {};  // empty: the command's own caption
    std::span<const MenuEntry> submenu = {};
    bool separator() const { return id == Cmd::None && submenu.empty(); }
    bool isSubmenu() const { return !submenu.empty(); }
};
struct MenuSpec {
    std::string_view title;
    std::span<const MenuEntry> entries;
};

// The menu bar, in order; items 98 and 99 follow as menu-bar items of their own.
std::span<const MenuSpec> MenuBar();
// The menu of a right click, and the three menus of right-button drags.
std::span<const MenuEntry> ContextMenu();
std::span<const MenuEntry> ViewGestureMenu();
std::span<const MenuEntry> ToolGestureMenu();
std::span<const MenuEntry> EditGestureMenu();

// The tool bar: 39 entries, Cmd::None for a separator. A button's picture is ToolBarImage(id).
std::span<const Cmd> ToolBarLayout();

// Commands whose menu item and button stay checked while their tool is chosen, and the option
// items that carry a check mark while they are on.
bool IsToolChoice(Cmd id);
bool IsOptionItem(Cmd id);

// A key of the editor: an upper-case letter or a digit, alone or with Ctrl. It sends `command`
// when `gate` is enabled (a tool-bar button's state, or a menu item's).
struct KeyBinding {
    char key;
    bool control;
    Cmd command;
    Cmd gate;
};
std::span<const KeyBinding> KeyBindings();
// The binding of a key (upper case), or none.
const KeyBinding* FindKey(int key, bool control);
// The key that gives the command, as menus show it beside the caption ("Ctrl+S", "Del", "Z"),
// or empty. The keys themselves are the editor's (Editor::keyDown, Editor::character).
std::string CommandShortcut(Cmd id);

}  // namespace zevo

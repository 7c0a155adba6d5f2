#pragma once

#include <windows.h>

namespace faultward::win {

// The menu bar of the main window, built from the core's menu tables: each
// item's command identifier is its group's base plus its index.
HMENU createMainMenu();

// Which handler an item's identifier goes to, and with which index.
enum class MenuGroup { None, File, Options, Help };
struct MenuChoice {
    MenuGroup group = MenuGroup::None;
    int index = -1;
};
MenuChoice menuChoice(int commandId);

} // namespace faultward::win

#pragma once

#include "app/desktop/command.h"
#include "rewrite/handling_mode.h"

namespace faultward {

// The menus of the main window, for every front end to build the same: the
// group's items by index, "-" for a separator. Indexes carry meaning: the
// File items' are command numbers, the Options items' the stored values of
// handling modes.
struct MenuItem {
    int index;
    const char* caption;
};

inline constexpr MenuItem kFileMenu = {0, "&File"};
inline constexpr MenuItem kOptionsMenu = {1, "O&ptions"};
inline constexpr MenuItem kHelpMenu = {2, "&Help"};

inline constexpr MenuItem kFileItems[] = {
    {commandNumber(Command::Open), "&Open Visual Basic Project"},
    {commandNumber(Command::OpenFolder), "Open &Folder of Modules..."},
    {1, "-"},
    {commandNumber(Command::Insert), "&Insert Error Handling Code"},
    {3, "-"},
    {commandNumber(Command::Remove), "&Remove Error Handling Code"},
    {5, "-"},
    {commandNumber(Command::AddLineNumbers), "Add &Line Numbers"},
    {commandNumber(Command::RemoveLineNumbers), "Remove Line &Numbers"},
    {11, "-"},
    {commandNumber(Command::Preview), "Pre&view Insertion..."},
    {commandNumber(Command::Check), "&Check Project..."},
    {14, "-"},
    {commandNumber(Command::Exit), "E&xit"},
};
inline constexpr MenuItem kOptionItems[] = {
    {storedValue(HandlingMode::ShowMessage), "Halt on Errors and Display in Message Box"},
    {storedValue(HandlingMode::ResumeNext), "Ignore Errors and Resume Next"},
    {storedValue(HandlingMode::CentralHandler),
     "Centralize Error Handling with I_Process_Errors Sub"},
    {3, "-"},
    {4, "Handler &Settings..."},
};
inline constexpr MenuItem kHelpItems[] = {{0, "I&ndex"}, {1, "-"}, {2, "&About"}};

// The Options item that opens the Handler Settings dialog; it is no mode.
inline constexpr int kHandlerSettingsItem = 4;

// Whether the Options menu has an item for the mode.
constexpr bool isModeItem(HandlingMode mode) {
    return effectiveMode(mode) == mode;
}

} // namespace faultward

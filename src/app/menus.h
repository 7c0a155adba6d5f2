#pragma once

namespace faultward {

// The menus of the main window, for every front end to build the same: the
// group's items by index, "-" for a separator. Indexes carry meaning: the
// File items' are command numbers, the Options items' handling modes.
struct MenuItem {
    int index;
    const char* caption;
};

inline constexpr MenuItem kFileMenu = {0, "&File"};
inline constexpr MenuItem kOptionsMenu = {1, "O&ptions"};
inline constexpr MenuItem kHelpMenu = {2, "&Help"};

inline constexpr MenuItem kFileItems[] = {
    {0, "&Open Visual Basic Project"},
    {1, "-"},
    {2, "&Insert Error Handling Code"},
    {3, "-"},
    {4, "&Remove Error Handling Code"},
    {5, "-"},
    {9, "Add &Line Numbers"},
    {10, "Remove Line &Numbers"},
    {11, "-"},
    {12, "Pre&view Insertion..."},
    {13, "&Check Project..."},
    {14, "-"},
    {6, "E&xit"},
};
inline constexpr MenuItem kOptionItems[] = {
    {0, "Halt on Errors and Display in Message Box"},
    {1, "Ignore Errors and Resume Next"},
    {2, "Centralize Error Handling with I_Process_Errors Sub"},
    {3, "-"},
    {4, "Handler &Settings..."},
};
inline constexpr MenuItem kHelpItems[] = {{0, "I&ndex"}, {1, "-"}, {2, "&About"}};

inline constexpr int kModeItemCount = 3;

// Command numbers of the File menu beyond the tool row's, and the Options
// item that opens the Handler Settings dialog.
inline constexpr int kPreviewCommand = 12;
inline constexpr int kCheckCommand = 13;
inline constexpr int kHandlerSettingsItem = 4;

// Whether the Options menu has an item for the mode.
constexpr bool isModeItem(int mode) {
    return mode >= 0 && mode < kModeItemCount;
}

} // namespace faultward

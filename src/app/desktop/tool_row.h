#pragma once

#include "app/desktop/command.h"

namespace faultward {

// The project files window's row of picture buttons. The index is the command
// number the button hands to the command routine; geometry is in twips.
struct ToolButton {
    int index;
    const char* caption;
    const char* tooltip; // empty: none
    const char* picture; // name of the picture in resources/buttons
    int left, top, width, height;
};

inline constexpr ToolButton kToolButtons[] = {
    {commandNumber(Command::Open), "Open Visual Basic Project", "", "open", 0, 0, 1095, 855},
    {commandNumber(Command::Insert), "Insert Error- Handling Code", "Insert Error Handling Code",
     "insert", 1080, 0, 1215, 855},
    {commandNumber(Command::Remove), "Remove Error- Handling Code", "Remove Error Handling Code",
     "remove", 2280, 0, 1215, 855},
    {commandNumber(Command::Help), "Help", "Help", "help", 3480, 0, 1215, 855},
};

// Select All (0) and Select None (1) below the list.
struct SelectButton {
    int index;
    const char* caption;
    int left, top, width, height;
};

inline constexpr SelectButton kSelectButtons[] = {
    {0, "Select All", 960, 4080, 1095, 375},
    {1, "Select None", 2400, 4080, 1095, 375},
};

} // namespace faultward

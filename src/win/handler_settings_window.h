#pragma once

#include <windows.h>

namespace faultward {
class HandlerSettingsDialog;
} // namespace faultward

namespace faultward::win {

class MessageBoxes;

// The Handler Settings dialog of the resource script, modal over owner. Its
// controls show the core's dialog state and hand the user's choices back;
// what they mean and what OK accepts is the core's. Returns once the dialog
// has closed. While it is open, shownAt holds its window, so that the boxes
// it leads to (open dialog, messages) belong to it.
void runHandlerSettingsWindow(HWND owner, HandlerSettingsDialog& dialog, MessageBoxes& messages,
                              HWND& shownAt);

} // namespace faultward::win

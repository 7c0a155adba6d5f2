#pragma once

#include <windows.h>

namespace faultward::win {

// The application-wide mouse pointer: one setting for every window of the
// program. Long operations turn it to the hourglass and afterwards to the
// default pointer, whatever was shown before.
void showBusyPointer();
void showDefaultPointer();
bool pointerIsBusy();

// For WM_SETCURSOR: shows the hourglass over the program's windows while it
// is set, and says so; otherwise the window shows its own pointer.
bool setBusyPointerIfSet();

} // namespace faultward::win

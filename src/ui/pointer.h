#pragma once

namespace faultward {

// The application-wide mouse pointer is one setting, as the program has always
// treated it: long operations turn it to the hourglass and afterwards to the
// default pointer, whatever was shown before.
void showBusyPointer();
void showDefaultPointer();

} // namespace faultward

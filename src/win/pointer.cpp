#include "win/pointer.h"

namespace faultward::win {
namespace {

bool busy = false;

} // namespace

void showBusyPointer() {
    busy = true;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void showDefaultPointer() {
    busy = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

bool pointerIsBusy() {
    return busy;
}

bool setBusyPointerIfSet() {
    if (busy)
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return busy;
}

} // namespace faultward::win

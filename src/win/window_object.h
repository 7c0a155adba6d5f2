#pragma once

#include <windows.h>

namespace faultward::win {

// Each window class here is served by one C++ object. The object's address
// travels in the creation data and is kept in the window's user data, where
// the window procedure finds it again.
template <typename Object> Object* windowObject(HWND window) {
    return reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

template <typename Object> void attachWindowObject(HWND window, Object* object) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

// Registers a window class once per process; later calls do nothing.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background,
                         HICON icon = nullptr);

// The program's icon, from its resources; the system's application icon
// when it has none (a test program).
HICON programIcon(int size);

} // namespace faultward::win

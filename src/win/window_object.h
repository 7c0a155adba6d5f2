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

// Where a window's object travels in its creation data: as the creation
// parameter itself, or for an MDI child in the MDI creation data.
enum class CreatedAs { Window, MdiChild };

// The start of every window procedure here: WM_NCCREATE brings the object,
// which learns its window and is kept with it. Returns the window's object,
// or nullptr for the few messages before WM_NCCREATE, which the class's
// default procedure answers.
template <typename Object, CreatedAs kind = CreatedAs::Window>
Object* keepWindowObject(HWND window, UINT message, LPARAM lParam, HWND Object::*handle) {
    if (message == WM_NCCREATE) {
        void* data = reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams;
        Object* self;
        if constexpr (kind == CreatedAs::MdiChild)
            self = reinterpret_cast<Object*>(static_cast<const MDICREATESTRUCTW*>(data)->lParam);
        else
            self = static_cast<Object*>(data);
        self->*handle = window;
        attachWindowObject(window, self);
    }
    return windowObject<Object>(window);
}

// Registers a window class once per process; later calls do nothing.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background,
                         HICON icon = nullptr);

// The program's icon, from its resources; the system's application icon
// when it has none (a test program).
HICON programIcon(int size);

} // namespace faultward::win

#include "win/window_object.h"

#include "win/resource_ids.h"

namespace faultward::win {

void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background, HICON icon) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, name, &existing))
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon ? programIcon(GetSystemMetrics(SM_CXSMICON)) : nullptr;
    RegisterClassExW(&windowClass);
}

HICON programIcon(int size) {
    const auto icon =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(FW_IDI_APP),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
    return icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

} // namespace faultward::win

#include "win_test_support.h"

#include "platform/win32_text.h"

#include <commctrl.h>

namespace faultward::wintest {

WinProgram::WinProgram(std::int16_t storedMode) {
    store.values["OS/Error_Flag"] = std::to_string(storedMode);
    window = std::make_unique<win::MDIForm1>(
        module, win::WindowServices{sound, help, about, dialog, messages, [this] { ++ended; },
                                    [this] { ++closed; }});
    module.Load_Settings(*window);
    ShowWindow(window->hwnd(), SW_SHOWNORMAL);
    pump();
    store.writes = 0;
}

WinProgram::~WinProgram() {
    window.reset();
    pump();
}

void WinProgram::choose(int commandId) {
    SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

void WinProgram::click(HWND button) {
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void WinProgram::pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string narrow(const std::wstring& text) {
    return win32::utf8FromWide(text);
}

std::vector<std::string> listTexts(HWND list) {
    std::vector<std::string> texts;
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        ListView_GetItemText(list, i, 0, text, 512);
        texts.push_back(narrow(text));
    }
    return texts;
}

std::vector<bool> listTicks(HWND list) {
    std::vector<bool> ticks;
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i)
        ticks.push_back(ListView_GetCheckState(list, i) != 0);
    return ticks;
}

} // namespace faultward::wintest

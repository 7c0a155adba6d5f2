#include "win_test_support.h"

#include "platform/win32_text.h"

#include <commctrl.h>

#include <deque>

namespace faultward::wintest {

WinProgram::WinProgram(std::int16_t storedMode,
                       const std::map<std::string, std::string>& settings) {
    store.values = settings;
    store.values["OS/Error_Flag"] = std::to_string(storedMode);
    window = std::make_unique<win::MDIForm1>(
        module, win::WindowServices{sound, help, about, dialog, messages, consent,
                                    [this] { ++ended; }, [this] { ++closed; }});
    module.Load_Settings(*window);
    ShowWindow(window->hwnd(), window->firstShowCommand(SW_SHOWNORMAL));
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

namespace {

struct Waiting {
    std::string title;
    std::function<void(HWND)> script;
};
std::deque<Waiting> waiting;
UINT_PTR scriptTimer = 0;

struct Search {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK findDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32770" || windowText(window) != search->title)
        return TRUE;
    search->found = window;
    return FALSE;
}

void CALLBACK runWaitingScript(HWND, UINT, UINT_PTR, DWORD) {
    if (waiting.empty()) {
        KillTimer(nullptr, scriptTimer);
        scriptTimer = 0;
        return;
    }
    Search search{win32::wideFromBytes(waiting.front().title)};
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        return;
    // Taken off first: the script may open the next dialog from here.
    const auto script = std::move(waiting.front().script);
    waiting.pop_front();
    script(search.found);
}

} // namespace

void whenShown(std::string title, std::function<void(HWND dialog)> script) {
    waiting.push_back({std::move(title), std::move(script)});
    if (!scriptTimer)
        scriptTimer = SetTimer(nullptr, 0, 10, runWaitingScript);
}

std::size_t scriptsWaiting() {
    return waiting.size();
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

std::vector<HTREEITEM> treeItems(HWND tree, HTREEITEM parent) {
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = parent ? TreeView_GetChild(tree, parent) : TreeView_GetRoot(tree); item;
         item = TreeView_GetNextSibling(tree, item))
        items.push_back(item);
    return items;
}

std::vector<std::string> listTexts(HWND tree, HTREEITEM parent) {
    std::vector<std::string> texts;
    for (HTREEITEM each : treeItems(tree, parent)) {
        wchar_t text[512] = {};
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = each;
        item.pszText = text;
        item.cchTextMax = 512;
        TreeView_GetItem(tree, &item);
        texts.push_back(narrow(text));
    }
    return texts;
}

std::vector<bool> listTicks(HWND tree, HTREEITEM parent) {
    std::vector<bool> ticks;
    for (HTREEITEM each : treeItems(tree, parent))
        ticks.push_back(TreeView_GetCheckState(tree, each) == 1);
    return ticks;
}

} // namespace faultward::wintest

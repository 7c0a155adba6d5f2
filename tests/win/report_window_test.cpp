#include "win_test_support.h"

#include "app/desktop/menus.h"
#include "app/desktop/report_window.h"
#include "support/temp_folder.h"
#include "win/control_ids.h"
#include "win/resource_ids.h"
#include "win/text_view.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <filesystem>

namespace faultward::wintest {
namespace {

using faultward::testing::crlf;
using faultward::testing::readFile;
using faultward::testing::TempFolder;
namespace fs = std::filesystem;

// The text as the view gives it: each of the core's lines ended by CR LF
// but the last.
std::string crLfLines(const std::string& text) {
    const ReportLines lines = ReportLines::ofReport(text);
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i)
        joined += std::string(i ? "\r\n" : "") + std::string(lines.text(text, i));
    return joined;
}

std::string clipboardText(UINT format) {
    std::string text;
    if (!OpenClipboard(nullptr))
        return "(no clipboard)";
    if (HANDLE data = GetClipboardData(format)) {
        if (format == CF_UNICODETEXT)
            text = narrow(static_cast<const wchar_t*>(GlobalLock(data)));
        else
            text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Keys as the view reads them: the modifiers from the thread's key state.
void pressKey(HWND view, UINT key, std::initializer_list<int> held = {}) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    for (int modifier : held)
        state[modifier] = 0x80;
    SetKeyboardState(state);
    SendMessageW(view, WM_KEYDOWN, key, 1);
    for (int modifier : held)
        state[modifier] = 0;
    SetKeyboardState(state);
}

// The view's context menu as it opened, answered by typing an item's
// access key.
struct ContextMenuSeen {
    static inline WNDPROC viewProcedure = nullptr;
    static inline std::vector<std::pair<std::string, bool>> items; // caption, enabled
    static inline wchar_t answer = 0;

    static LRESULT CALLBACK watch(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITMENUPOPUP) {
            const auto menu = reinterpret_cast<HMENU>(wParam);
            items.clear();
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                wchar_t caption[64] = {};
                GetMenuStringW(menu, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
                if (caption[0])
                    items.emplace_back(
                        narrow(caption),
                        !(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED));
            }
            PostMessageW(view, WM_CHAR, answer, 1);
        }
        return CallWindowProcW(viewProcedure, view, message, wParam, lParam);
    }

    static void open(HWND view, wchar_t key) {
        answer = key;
        viewProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&watch)));
        SendMessageW(view, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view), -1);
        SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(viewProcedure));
    }
};

// What the window showed, read while it was open.
struct Seen {
    std::string title, text, textClass;
    std::vector<std::string> buttons; // visible, left to right
    LONG textStyle = 0;
    bool fixedPitch = false;
};

Seen look(HWND window) {
    Seen seen;
    seen.title = narrow(windowText(window));
    HWND text = GetDlgItem(window, FW_IDC_REPORT_TEXT);
    seen.text = narrow(windowText(text));
    seen.textStyle = GetWindowLongW(text, GWL_STYLE);
    wchar_t name[64] = {};
    GetClassNameW(text, name, 64);
    seen.textClass = narrow(name);
    HDC dc = GetDC(text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    // The bit is set for a variable pitch.
    seen.fixedPitch = !(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH);
    std::vector<std::pair<LONG, std::string>> shown;
    for (int id : {FW_IDC_REPORT_INSERT, FW_IDC_REPORT_SAVE_AS, IDCANCEL}) {
        HWND button = GetDlgItem(window, id);
        if (!(GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE))
            continue;
        RECT rect;
        GetWindowRect(button, &rect);
        shown.emplace_back(rect.left, narrow(windowText(button)));
    }
    std::sort(shown.begin(), shown.end());
    for (const auto& [left, caption] : shown)
        seen.buttons.push_back(caption);
    return seen;
}

class ReportWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        startFolder = fs::current_path();
        folder.write("A.bas", source);
        const fs::path vbp = folder.write("P.vbp", crlf({"Module=A; A.bas"}));
        program.dialog.answer = vbp.string();
        program.click(program.form1().cmd_tbl(0));
    }
    void TearDown() override { fs::current_path(startFolder); }

    const std::string source = crlf({"Sub A()", "    Beep", "End Sub"});
    fs::path startFolder;
    TempFolder folder;
    WinProgram program;
};

TEST_F(ReportWindowTest, preview_showsTheDiffReadOnlyFixedWidth_saveAsAndInsertReachTheCore) {
    Seen seen;
    whenShown(std::string(kPreviewTitle), [&](HWND window) {
        EXPECT_EQ(GetWindow(window, GW_OWNER), program.window->hwnd());
        seen = look(window);
        // Save As: the save dialog belongs to this window; it stays open.
        program.dialog.saveAnswer = (folder / "Out.diff").string();
        SendMessageW(GetDlgItem(window, FW_IDC_REPORT_SAVE_AS), BM_CLICK, 0, 0);
        ASSERT_EQ(program.dialog.askedToSave.size(), 1u);
        EXPECT_EQ(program.dialog.saveOwners[0], window);
        EXPECT_EQ(program.dialog.askedToSave[0].filter, kDiffFilter);
        EXPECT_EQ(program.dialog.askedToSave[0].defaultExtension, "diff");
        EXPECT_TRUE(IsWindow(window));
        EXPECT_EQ(readFile(folder / "A.bas"), source);
        SendMessageW(GetDlgItem(window, FW_IDC_REPORT_INSERT), BM_CLICK, 0, 0);
    });
    program.choose(win::kFileItemBase + commandNumber(Command::Preview));
    EXPECT_EQ(scriptsWaiting(), 0u);
    EXPECT_EQ(seen.title, "Preview Insertion");
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"&Insert", "&Save As...", "Close"}));
    EXPECT_EQ(seen.textClass, narrow(win::kTextViewClass));
    EXPECT_EQ(seen.textStyle & (WS_VSCROLL | WS_HSCROLL), WS_VSCROLL | WS_HSCROLL);
    EXPECT_TRUE(seen.fixedPitch);
    // The saved bytes are the report's; the view shows the core's lines.
    const std::string saved = readFile(folder / "Out.diff");
    EXPECT_NE(saved.find("+++"), std::string::npos);
    EXPECT_EQ(crLfLines(saved), seen.text);
    // Insert closed the window and inserted.
    EXPECT_NE(readFile(folder / "A.bas").find("ERR_A"), std::string::npos);
    EXPECT_TRUE(program.messages.shown.empty());
}

TEST_F(ReportWindowTest, check_offersSaveAsAndClose_escapeClosesWithNothingWritten) {
    Seen seen;
    whenShown(std::string(kCheckTitle), [&](HWND window) {
        seen = look(window);
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    program.choose(win::kFileItemBase + commandNumber(Command::Check));
    EXPECT_EQ(scriptsWaiting(), 0u);
    EXPECT_EQ(seen.title, "Check Project");
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"&Save As...", "Close"}));
    EXPECT_NE(seen.text.find("A.bas"), std::string::npos);
    EXPECT_EQ(readFile(folder / "A.bas"), source);

    // The Close button closes too.
    whenShown(std::string(kCheckTitle),
              [](HWND window) { SendMessageW(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0); });
    program.choose(win::kFileItemBase + commandNumber(Command::Check));
    EXPECT_EQ(scriptsWaiting(), 0u);
    EXPECT_EQ(readFile(folder / "A.bas"), source);
}

TEST_F(ReportWindowTest, theViewTakesKeysAndLettersAndCopies_theButtonsFollowTheWindowsSize) {
    std::string all, firstLine, unicode, word, copiedFromMenu;
    std::vector<std::pair<std::string, bool>> menuItems;
    bool openAfterLetter = false;
    RECT before{}, after{};
    whenShown(std::string(kPreviewTitle), [&](HWND window) {
        HWND view = GetDlgItem(window, FW_IDC_REPORT_TEXT);
        EXPECT_EQ(GetFocus(), view);
        pressKey(view, 'A', {VK_CONTROL});
        pressKey(view, 'C', {VK_CONTROL});
        all = clipboardText(CF_TEXT);
        pressKey(view, VK_HOME, {VK_CONTROL});
        pressKey(view, VK_END, {VK_SHIFT});
        SendMessageW(view, WM_COPY, 0, 0);
        firstLine = clipboardText(CF_TEXT);
        unicode = clipboardText(CF_UNICODETEXT);
        // A double click takes the word under it; the context menu copies
        // only with something selected.
        SendMessageW(view, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 2));
        SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(5, 2));
        SendMessageW(view, WM_COPY, 0, 0);
        word = clipboardText(CF_TEXT);
        pressKey(view, VK_HOME, {VK_CONTROL});
        ContextMenuSeen::open(view, L'a');
        menuItems = ContextMenuSeen::items;
        ContextMenuSeen::open(view, L'c');
        copiedFromMenu = clipboardText(CF_TEXT);
        // A letter typed in the text is no access key: &Insert stays unpressed.
        PostMessageW(view, WM_CHAR, L'i', 1);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageW(window, &message))
                DispatchMessageW(&message);
        openAfterLetter = IsWindow(window);

        // The buttons move with the window's corner.
        GetWindowRect(GetDlgItem(window, IDCANCEL), &before);
        ShowWindow(window, SW_MAXIMIZE);
        GetWindowRect(GetDlgItem(window, IDCANCEL), &after);
        PostMessageW(view, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    program.choose(win::kFileItemBase + commandNumber(Command::Preview));
    EXPECT_EQ(scriptsWaiting(), 0u);
    EXPECT_TRUE(openAfterLetter);
    EXPECT_EQ(readFile(folder / "A.bas"), source);
    EXPECT_NE(all.find("+++ b/A.bas\r\n"), std::string::npos) << all;
    EXPECT_EQ(firstLine, "A.bas: +5 -0");
    EXPECT_EQ(unicode, firstLine);
    EXPECT_EQ(word, "A");
    EXPECT_EQ(menuItems,
              (std::vector<std::pair<std::string, bool>>{{"&Copy", false}, {"Select &All", true}}));
    EXPECT_EQ(copiedFromMenu, all); // Select All, then Copy
    EXPECT_GT(after.left, before.right);
}

// A screen reader is told what the view is, the line the caret is on, and
// a short selection; and hears when either changes.
TEST_F(ReportWindowTest, aScreenReaderReadsTheCaretsLineOrTheSelection) {
    struct Read {
        std::string name, value;
        LONG role = 0, state = 0;
    };
    const auto read = [](HWND view) {
        Read seen;
        IAccessible* object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(view, static_cast<DWORD>(OBJID_CLIENT),
                                              __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&object))))
            return seen;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        if (object->get_accName(self, &text) == S_OK)
            seen.name = narrow(text);
        SysFreeString(text);
        if (object->get_accValue(self, &text) == S_OK)
            seen.value = narrow(text);
        SysFreeString(text);
        VARIANT answer{};
        if (object->get_accRole(self, &answer) == S_OK)
            seen.role = answer.lVal;
        if (object->get_accState(self, &answer) == S_OK)
            seen.state = answer.lVal;
        object->Release();
        return seen;
    };
    static std::vector<HWND> told;
    told.clear();
    HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
        [](HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
            if (object == OBJID_CLIENT)
                told.push_back(window);
        },
        0, GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    std::vector<Read> reads;
    HWND view = nullptr;
    whenShown(std::string(kPreviewTitle), [&](HWND window) {
        view = GetDlgItem(window, FW_IDC_REPORT_TEXT);
        reads.push_back(read(view));
        pressKey(view, VK_RIGHT);
        pressKey(view, VK_DOWN);
        pressKey(view, VK_DOWN);
        reads.push_back(read(view));
        pressKey(view, VK_END, {VK_SHIFT});
        reads.push_back(read(view));
        WinProgram::pump();
        PostMessageW(view, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    CoInitialize(nullptr);
    program.choose(win::kFileItemBase + commandNumber(Command::Preview));
    UnhookWinEvent(hook);
    CoUninitialize();
    ASSERT_EQ(reads.size(), 3u);
    EXPECT_EQ(reads[0].name, std::string(kPreviewTitle));
    EXPECT_EQ(reads[0].role, ROLE_SYSTEM_TEXT);
    EXPECT_TRUE(reads[0].state & STATE_SYSTEM_READONLY);
    EXPECT_EQ(reads[0].value, "A.bas: +5 -0");
    EXPECT_EQ(reads[1].value, "--- a/A.bas");
    EXPECT_EQ(reads[2].value, "-- a/A.bas");
    // Right stays on the line; each Down and the selection are news.
    EXPECT_EQ(told, (std::vector<HWND>{view, view, view}));
}

} // namespace
} // namespace faultward::wintest

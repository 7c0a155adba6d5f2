#include "win_test_support.h"

#include "win/message_boxes.h"
#include "win/resource_ids.h"

#include <gtest/gtest.h>

#include <string>

namespace faultward::wintest {
namespace {

// What the box with details showed, seen from a timer while it waits.
struct SeenBox {
    std::string text;
    std::string details;
    RECT client{};
    RECT label{};
    RECT box{};
    RECT ok{};
    LONG boxStyle = 0;
    int margin = 0;
    std::string choice; // the caption of the choice's button when it shows
    RECT choiceRect{};
};
SeenBox seen;

RECT childRect(HWND dialog, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32770")
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK lookAtTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    ASSERT_NE(dialog, nullptr);
    seen.text = narrow(windowText(GetDlgItem(dialog, FW_IDC_DETAILS_TEXT)));
    seen.details = narrow(windowText(GetDlgItem(dialog, FW_IDC_DETAILS_BOX)));
    GetClientRect(dialog, &seen.client);
    seen.label = childRect(dialog, FW_IDC_DETAILS_TEXT);
    seen.box = childRect(dialog, FW_IDC_DETAILS_BOX);
    seen.ok = childRect(dialog, IDOK);
    seen.boxStyle = GetWindowLongW(GetDlgItem(dialog, FW_IDC_DETAILS_BOX), GWL_STYLE);
    RECT units{0, 0, 10, 10};
    MapDialogRect(dialog, &units);
    seen.margin = units.bottom;
    HWND choice = GetDlgItem(dialog, FW_IDC_DETAILS_CHOICE);
    seen.choice = IsWindowVisible(choice) ? narrow(windowText(choice)) : std::string();
    seen.choiceRect = childRect(dialog, FW_IDC_DETAILS_CHOICE);
    // A box with a choice is closed with it.
    PostMessageW(dialog, WM_COMMAND, seen.choice.empty() ? IDOK : FW_IDC_DETAILS_CHOICE, 0);
}

SeenBox showAndLook(const std::string& text, const std::string& details) {
    seen = {};
    SetTimer(nullptr, 0, 50, lookAtTheBox);
    win::makeSystemMessageBoxes()->showMessage(nullptr, text, MessageIcon::Warning, details);
    return seen;
}

std::string numberedLines(int count, std::size_t length) {
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += std::to_string(i) + std::string(length, 'x') + ".bas: not found\n";
    return lines;
}

TEST(DetailsBox, namesEachFileOnce_fitsItsText_andScrollsOnlyWhatDoesNotFit) {
    const std::string lead = "These selected files could not be processed:";
    const SeenBox few = showAndLook(lead + "\n\nA.bas: not found\nB.bas: not found",
                                    "A.bas: not found\nB.bas: not found\n");
    EXPECT_EQ(few.text, lead);
    EXPECT_EQ(few.details, "A.bas: not found\r\nB.bas: not found");
    // One line of text, then the box at once; the button ends the window.
    EXPECT_LT(few.box.top - few.label.top, 3 * few.margin);
    EXPECT_LE(few.client.bottom - few.ok.bottom, few.margin + 1);
    EXPECT_EQ(few.boxStyle & (WS_VSCROLL | WS_HSCROLL), 0);
    EXPECT_GT(few.box.bottom - few.box.top, 2 * 8);

    const SeenBox many = showAndLook(lead, numberedLines(40, 1));
    EXPECT_EQ(many.boxStyle & (WS_VSCROLL | WS_HSCROLL), WS_VSCROLL);
    EXPECT_LE(many.client.bottom - many.ok.bottom, many.margin + 1);

    const SeenBox wide = showAndLook(lead, numberedLines(2, 300));
    EXPECT_EQ(wide.boxStyle & (WS_VSCROLL | WS_HSCROLL), WS_HSCROLL);
}

TEST(DetailsBox, aChoiceShowsBesideOkAndTellsWhenItWasChosen) {
    seen = {};
    SetTimer(nullptr, 0, 50, lookAtTheBox);
    EXPECT_TRUE(win::makeSystemMessageBoxes()->showMessageWithChoice(
        nullptr, "Left:\n\nA.bas:1: Sub A", MessageIcon::Warning, "A.bas:1: Sub A\n",
        "&Renumber Them"));
    EXPECT_EQ(seen.choice, "&Renumber Them");
    EXPECT_EQ(seen.choiceRect.top, seen.ok.top);
    EXPECT_LT(seen.choiceRect.right, seen.ok.left);
    // Without one the button stays hidden.
    EXPECT_EQ(showAndLook("Left:", "A\n").choice, "");
}

} // namespace
} // namespace faultward::wintest

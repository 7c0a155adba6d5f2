#include "win_test_support.h"

#include "app/desktop/main_window_logic.h"
#include "win/control_ids.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace faultward::wintest {
namespace {

SIZE outerSize(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

std::string menuText(HMENU menu, UINT position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return narrow(text);
}

// The menu as shown: captions with their access keys, "-" for separators.
std::vector<std::string> menuCaptions(HMENU menu) {
    std::vector<std::string> captions;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        // For an item that opens a submenu the state's high byte counts the
        // submenu's items, which from eight on looks like the separator flag.
        const bool separator =
            !GetSubMenu(menu, i) &&
            (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR);
        captions.push_back(separator ? "-" : menuText(menu, static_cast<UINT>(i)));
    }
    return captions;
}

std::vector<bool> modeChecks(HMENU menu) {
    std::vector<bool> checks;
    for (int mode = 0; mode < 3; ++mode)
        checks.push_back(
            GetMenuState(menu, static_cast<UINT>(win::kOptionItemBase + mode), MF_BYCOMMAND) &
            MF_CHECKED);
    return checks;
}

RECT screenRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

// The designed outer size is the first and the least; grown, the list takes
// the room while the tool row and the Select buttons keep their distance to
// the frame's edges.
TEST(MainWindow, growsFromItsDesignedOuterSize_theListTakesTheRoom) {
    WinProgram program;
    HWND frame = program.window->hwnd();
    const SIZE designed = program.window->designedOuterSize();
    // 4875 by 5325 twips at the window's DPI; 325 by 355 pixels at 96.
    if (program.window->dpi() == 96) {
        EXPECT_EQ(designed.cx, 325);
        EXPECT_EQ(designed.cy, 355);
    }
    EXPECT_EQ(outerSize(frame).cx, designed.cx);
    EXPECT_EQ(outerSize(frame).cy, designed.cy);
    EXPECT_EQ(GetWindowLongW(frame, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX),
              WS_THICKFRAME | WS_MAXIMIZEBOX);
    MINMAXINFO limits{};
    SendMessageW(frame, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, designed.cx);
    EXPECT_EQ(limits.ptMinTrackSize.y, designed.cy);
    EXPECT_EQ(narrow(windowText(frame)), "Faultward");

    win::Form1& form = program.form1();
    const RECT first = screenRect(frame);
    const RECT list = screenRect(form.List1());
    const RECT help = screenRect(form.cmd_tbl(7));
    const RECT selectNone = screenRect(form.cmd_sel(1));
    const auto expectGrown = [&](const char* how) {
        const RECT now = screenRect(frame);
        const RECT grown = screenRect(form.List1());
        EXPECT_EQ(grown.left - now.left, list.left - first.left) << how;
        EXPECT_EQ(grown.top - now.top, list.top - first.top) << how;
        EXPECT_EQ(now.right - grown.right, first.right - list.right) << how;
        EXPECT_EQ(now.bottom - grown.bottom, first.bottom - list.bottom) << how;
        const RECT helpNow = screenRect(form.cmd_tbl(7));
        EXPECT_EQ(helpNow.left - now.left, help.left - first.left) << how;
        EXPECT_EQ(helpNow.top - now.top, help.top - first.top) << how;
        const RECT selectNow = screenRect(form.cmd_sel(1));
        EXPECT_EQ(selectNow.left - now.left, selectNone.left - first.left) << how;
        EXPECT_EQ(now.bottom - selectNow.bottom, first.bottom - selectNone.bottom) << how;
    };

    SetWindowPos(frame, nullptr, 0, 0, designed.cx + 200, designed.cy + 150,
                 SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(screenRect(form.List1()).right - screenRect(form.List1()).left,
              list.right - list.left + 200);
    expectGrown("dragged");

    SendMessageW(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    WinProgram::pump();
    EXPECT_TRUE(IsZoomed(frame));
    EXPECT_GT(outerSize(frame).cx, designed.cx + 200);
    expectGrown("maximized");

    ShowWindow(frame, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(frame));
    ShowWindow(frame, SW_RESTORE);
    ShowWindow(frame, SW_RESTORE);
    EXPECT_EQ(outerSize(frame).cx, designed.cx + 200);
    EXPECT_EQ(outerSize(frame).cy, designed.cy + 150);
    expectGrown("restored");
}

// A place off the screens of today comes back onto the primary one, as
// large as the least; maximized, the window keeps its normal place for later.
TEST(MainWindow, storedPlace_isBroughtOntoTheScreen_maximizedComesBack_andCloseSavesIt) {
    WinProgram program(0, {{"Window/Left", "-5000"},
                           {"Window/Top", "40"},
                           {"Window/Width", "500"},
                           {"Window/Height", "100"},
                           {"Window/Maximized", "1"}});
    HWND frame = program.window->hwnd();
    EXPECT_TRUE(IsZoomed(frame));
    SendMessageW(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
    WinProgram::pump();
    MONITORINFO primary{};
    primary.cbSize = sizeof primary;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary);
    const RECT restored = screenRect(frame);
    EXPECT_EQ(restored.left, primary.rcWork.left);
    EXPECT_EQ(restored.top, 40);
    EXPECT_EQ(outerSize(frame).cx, 500);
    EXPECT_EQ(outerSize(frame).cy, program.window->designedOuterSize().cy);

    SetWindowPos(frame, nullptr, 60, 50, 600, 450, SWP_NOZORDER);
    SendMessageW(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    WinProgram::pump();
    SendMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.store.values["Window/Left"], "60");
    EXPECT_EQ(program.store.values["Window/Top"], "50");
    EXPECT_EQ(program.store.values["Window/Width"], "600");
    EXPECT_EQ(program.store.values["Window/Height"], "450");
    EXPECT_EQ(program.store.values["Window/Maximized"], "1");
}

RECT placeInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LONG fontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font.lfHeight;
}

// Moved to a monitor of 144 dots per inch, the window takes the size the
// system suggests, and everything in it the designed sizes at that DPI.
TEST(MainWindow, newDpiScalesTheFrameTheControlsAndTheirFonts) {
    WinProgram program;
    HWND frame = program.window->hwnd();
    RECT suggested{10, 20, 10 + 488, 20 + 533};
    SendMessageW(frame, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(outerSize(frame).cx, 488);
    EXPECT_EQ(outerSize(frame).cy, 533);

    const RECT list = placeInParent(program.form1().List1());
    EXPECT_EQ(list.left, 12);
    EXPECT_EQ(list.top, 120);
    EXPECT_EQ(list.right - list.left, 446);
    EXPECT_EQ(list.bottom - list.top, 276);
    const RECT help = placeInParent(program.form1().cmd_tbl(7));
    EXPECT_EQ(help.left, 348);
    EXPECT_EQ(help.bottom - help.top, 86);
    // The pictures grow with the rest: 24 by 23 pixels drawn for 96 DPI.
    BUTTON_IMAGELIST pictures{};
    SendMessageW(program.form1().cmd_tbl(2), BCM_GETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(&pictures));
    int width = 0, height = 0;
    ASSERT_TRUE(ImageList_GetIconSize(pictures.himl, &width, &height));
    EXPECT_EQ(width, 36);
    EXPECT_EQ(height, 35);
    // 8 points at 144 dots per inch are 16 pixels; the label's 8.25 points, 17.
    EXPECT_EQ(fontHeight(program.form1().List1()), -16);
    EXPECT_EQ(fontHeight(program.form1().lbl_proh()), -17);

    // The least size keeps to the new DPI from then on, whatever is suggested.
    MINMAXINFO limits{};
    SendMessageW(frame, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 488);
    RECT smaller{10, 20, 10 + 300, 20 + 300};
    SendMessageW(frame, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&smaller));
    EXPECT_EQ(outerSize(frame).cx, 488);
    EXPECT_EQ(outerSize(frame).cy, 533);
}

TEST(MainWindow, menusCarryTheirCaptionsAccessKeysAndSeparators) {
    WinProgram program;
    HMENU bar = program.window->menu();
    EXPECT_EQ(menuCaptions(bar), (std::vector<std::string>{"&File", "O&ptions", "&Help"}));
    EXPECT_EQ(
        menuCaptions(GetSubMenu(bar, 0)),
        (std::vector<std::string>{"&Open Visual Basic Project", "Open &Folder of Modules...", "-",
                                  "&Insert Error Handling Code", "-", "&Remove Error Handling Code",
                                  "-", "Add &Line Numbers", "Remove Line &Numbers", "-",
                                  "Pre&view Insertion...", "&Check Project...", "-", "E&xit"}));
    EXPECT_EQ(menuCaptions(GetSubMenu(bar, 1)),
              (std::vector<std::string>{"Halt on Errors and Display in Message Box",
                                        "Ignore Errors and Resume Next",
                                        "Centralize Error Handling with I_Process_Errors Sub", "-",
                                        "Handler &Settings..."}));
    EXPECT_EQ(menuCaptions(GetSubMenu(bar, 2)),
              (std::vector<std::string>{"I&ndex", "-", "&About"}));
    // Insert and Remove can be chosen before any project is open.
    for (int item : {0, 2, 4, 6})
        EXPECT_FALSE(GetMenuState(bar, static_cast<UINT>(win::kFileItemBase + item), MF_BYCOMMAND) &
                     (MF_GRAYED | MF_DISABLED));
}

TEST(MainWindow, optionsChecksOneItem_closeSavesTheMode_exitDoesNot) {
    {
        WinProgram program(1);
        EXPECT_EQ(modeChecks(program.window->menu()), (std::vector<bool>{false, true, false}));
        program.choose(win::kOptionItemBase + 2);
        EXPECT_EQ(modeChecks(program.window->menu()), (std::vector<bool>{false, false, true}));
        EXPECT_EQ(program.module.Error_Flag(), HandlingMode::CentralHandler);
        // The options play no cue.
        EXPECT_TRUE(program.sound.events.empty());

        program.choose(win::kFileItemBase + 6);
        EXPECT_EQ(program.ended, 1);
        EXPECT_EQ(program.store.writes, 0);
        EXPECT_EQ(program.sound.events, (std::vector<int>{11}));
    }
    {
        WinProgram program(1);
        program.choose(win::kOptionItemBase + 0);
        SendMessageW(program.window->hwnd(), WM_CLOSE, 0, 0);
        EXPECT_EQ(program.store.values["OS/Error_Flag"], "0");
        EXPECT_EQ(program.closed, 1);
        EXPECT_EQ(program.window->hwnd(), nullptr);
    }
}

TEST(MainWindow, stoppedModeOutsideTheMenu_checksNoItem) {
    WinProgram program(5);
    EXPECT_EQ(modeChecks(program.window->menu()), (std::vector<bool>{false, false, false}));
}

TEST(MainWindow, separatorsOnlyClick_helpItemsSendTheHelpKey_aboutOpensOnce) {
    WinProgram program;
    program.choose(win::kFileItemBase + 3);
    EXPECT_EQ(program.sound.events, (std::vector<int>{11}));

    program.choose(win::kHelpItemBase + 0);
    program.click(program.form1().cmd_tbl(7));
    EXPECT_EQ(program.help.sent, 2);

    program.choose(win::kHelpItemBase + 2);
    program.choose(win::kHelpItemBase + 2);
    ASSERT_NE(program.about.hwnd(), nullptr);
    EXPECT_EQ(program.aboutOpened, 1);
    EXPECT_EQ(narrow(windowText(program.about.hwnd())), "About Faultward");
    EXPECT_EQ(narrow(windowText(program.about.control(win::kAboutVersionId))), "Version 1.0.11");
    EXPECT_EQ(narrow(windowText(program.about.control(win::kAboutTitleId))), "Faultward");
    // No owner: it stays when the main window closes.
    EXPECT_EQ(GetWindow(program.about.hwnd(), GW_OWNER), nullptr);
    SendMessageW(program.window->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(program.about.hwnd()));

    program.click(program.about.control(win::kAboutButtonBase + 2));
    EXPECT_EQ(program.sysInfo.unavailable, 1);
    program.click(program.about.control(win::kAboutButtonBase + 1));
    EXPECT_EQ(program.about.hwnd(), nullptr);
    EXPECT_EQ(program.aboutClosed, 1);
}

// A child's place in its parent's client area.
RECT childRect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(AboutWindow, makerTextFollowsTheVersionWithoutAnEmptyBand_andStatesTheTermsOnce) {
    WinProgram program;
    program.choose(win::kHelpItemBase + 2);
    ASSERT_NE(program.about.hwnd(), nullptr);
    const RECT version = childRect(program.about.control(win::kAboutVersionId));
    const RECT firstLine = childRect(program.about.control(win::kMakerLineBase));
    // Room for the rule and a margin on each side of it, no more.
    EXPECT_LT(firstLine.top - version.bottom, 40);

    std::string text;
    for (int line = 0; line < 5; ++line)
        text += narrow(windowText(program.about.control(win::kMakerLineBase + line))) + "\n";
    EXPECT_NE(text.find("Free to use, share and change\n"), std::string::npos);
    EXPECT_NE(text.find("\xC2\xA9 Faultward developers\n"), std::string::npos);
    EXPECT_EQ(text.find("rights reserved"), std::string::npos);
}

TEST(MainWindow, projectFilesWindowRefusesToClose) {
    WinProgram program;
    HWND child = program.form1().hwnd();
    SendMessageW(child, WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageW(child, WM_CLOSE, 0, 0);
    WinProgram::pump();
    EXPECT_TRUE(IsWindow(child));
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_EQ(GetParent(child), program.window->mdiClient());
}

} // namespace
} // namespace faultward::wintest

#include "win_test_support.h"

#include "app/main_window_logic.h"
#include "win/control_ids.h"

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
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        captions.push_back(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR
                               ? "-"
                               : menuText(menu, static_cast<UINT>(i)));
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

TEST(MainWindow, keepsItsDesignedOuterSize_afterMaximizeDragAndMinimize) {
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

    SendMessageW(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    WinProgram::pump();
    EXPECT_FALSE(IsZoomed(frame));
    EXPECT_EQ(outerSize(frame).cx, designed.cx);
    EXPECT_EQ(outerSize(frame).cy, designed.cy);

    SetWindowPos(frame, nullptr, 0, 0, designed.cx + 80, designed.cy - 40,
                 SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(outerSize(frame).cx, designed.cx);
    EXPECT_EQ(outerSize(frame).cy, designed.cy);

    ShowWindow(frame, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(frame));
    ShowWindow(frame, SW_RESTORE);
    EXPECT_EQ(outerSize(frame).cx, designed.cx);
    EXPECT_EQ(outerSize(frame).cy, designed.cy);

    EXPECT_EQ(GetWindowLongW(frame, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(narrow(windowText(frame)), "Faultward");
}

TEST(MainWindow, menusCarryTheirCaptionsAccessKeysAndSeparators) {
    WinProgram program;
    HMENU bar = program.window->menu();
    EXPECT_EQ(menuCaptions(bar), (std::vector<std::string>{"&File", "O&ptions", "&Help"}));
    EXPECT_EQ(
        menuCaptions(GetSubMenu(bar, 0)),
        (std::vector<std::string>{"&Open Visual Basic Project", "-", "&Insert Error Handling Code",
                                  "-", "&Remove Error Handling Code", "-", "E&xit"}));
    EXPECT_EQ(menuCaptions(GetSubMenu(bar, 1)),
              (std::vector<std::string>{"Halt on Errors and Display in Message Box",
                                        "Ignore Errors and Resume Next",
                                        "Centralize Error Handling with I_Process_Errors Sub"}));
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
        EXPECT_EQ(program.module.Error_Flag(), 2);
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

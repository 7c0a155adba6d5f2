#include "win_test_support.h"

#include "app/desktop/handler_settings_dialog.h"
#include "app/desktop/menus.h"
#include "app/desktop/report_window.h"
#include "support/process.h"
#include "support/temp_folder.h"
#include "win/control_ids.h"
#include "win/resource_ids.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace faultward::wintest {
namespace {

using faultward::testing::crlf;
using faultward::testing::readFile;
using faultward::testing::TempFolder;
namespace fs = std::filesystem;

void postChar(HWND control, wchar_t c) {
    PostMessageW(control, WM_CHAR, c, 1);
}

void postKey(HWND control, UINT key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
}

void mouseClick(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

const std::string kModule = crlf({"Attribute VB_Name = \"A\"", "Sub A()", "    Beep", "End Sub",
                                  "Function F() As Long", "    F = 1", "End Function"});
const std::string kClass =
    crlf({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1", "END", "Attribute VB_Name = \"C\"",
          "Public Function G() As Long", "    G = 2", "End Function"});
const std::string kTemplate = "[trap]\nOn Error GoTo Fail_{procedure}\n[handler]\n{exit}\n"
                              "Fail_{procedure}:\n  Resume Next\n";
const std::string kProject = crlf({"Type=Exe", "Module=A; A.bas", "Class=C; C.cls"});

void writeProject(const TempFolder& folder) {
    folder.write("A.bas", kModule);
    folder.write("C.cls", kClass);
    folder.write("P.vbp", kProject);
}

// Open, the settings through the dialog, Preview, Insert from the preview,
// as a person would: the files match what the command line writes given the
// same options, and Remove gives the original bytes back.
TEST(DesktopRun, settingsPreviewAndInsert_writeWhatTheCommandLineWrites_removeRestores) {
    const fs::path startFolder = fs::current_path();
    TempFolder desk, cli, templates;
    writeProject(desk);
    writeProject(cli);
    const fs::path pattern = templates.write("Log.txt", kTemplate);

    WinProgram program;
    program.dialog.answer = (desk / "P.vbp").string();
    mouseClick(program.form1().cmd_tbl(0));
    ASSERT_EQ(listTexts(program.form1().List1()), std::vector<std::string>{"A.bas"});

    whenShown(std::string(kHandlerSettingsTitle), [&](HWND dialog) {
        HWND sub = GetDlgItem(dialog, FW_IDC_PROC_SUB);
        mouseClick(GetDlgItem(dialog, FW_IDC_PROC_FUNCTION));
        // Access keys: C for Classes, T for the template; then the path, and Enter.
        postChar(sub, L'c');
        postChar(sub, L't');
        HWND path = GetDlgItem(dialog, FW_IDC_TEMPLATE_PATH);
        for (wchar_t c : pattern.wstring())
            postChar(path, c);
        postKey(path, VK_RETURN);
    });
    program.choose(win::kOptionItemBase + kHandlerSettingsItem);
    ASSERT_EQ(scriptsWaiting(), 0u);
    EXPECT_TRUE(program.messages.shown.empty());
    // The class came into the list.
    ASSERT_EQ(listTexts(program.form1().List1()), (std::vector<std::string>{"A.bas", "C.cls"}));

    std::string shown;
    whenShown(std::string(kPreviewTitle), [&](HWND window) {
        shown = narrow(windowText(GetDlgItem(window, FW_IDC_REPORT_TEXT)));
        mouseClick(GetDlgItem(window, FW_IDC_REPORT_INSERT));
    });
    program.choose(win::kFileItemBase + commandNumber(Command::Preview));
    ASSERT_EQ(scriptsWaiting(), 0u);
    EXPECT_NE(shown.find("Fail_G"), std::string::npos);
    EXPECT_TRUE(program.messages.shown.empty());

    const auto ran = faultward::testing::runProcess("Z:" FW_CLI_PROGRAM,
                                                    {"insert", "--no-settings", "--procedures",
                                                     "sub,function", "--kinds", "form,module,class",
                                                     "--template", pattern.string(), "P.vbp"},
                                                    cli.path());
    ASSERT_EQ(ran.exitCode, 0) << ran.err;
    for (const char* name : {"A.bas", "C.cls"}) {
        EXPECT_EQ(readFile(desk / name), readFile(cli / name)) << name;
    }
    EXPECT_NE(readFile(desk / "A.bas").find("Fail_F"), std::string::npos);
    EXPECT_NE(readFile(desk / "C.cls").find("Fail_G"), std::string::npos);

    mouseClick(program.form1().cmd_tbl(4));
    EXPECT_EQ(readFile(desk / "A.bas"), kModule);
    EXPECT_EQ(readFile(desk / "C.cls"), kClass);
    EXPECT_TRUE(program.messages.shown.empty());
    fs::current_path(startFolder);
}

} // namespace
} // namespace faultward::wintest

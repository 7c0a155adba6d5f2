#include "win_test_support.h"

#include "app/menus.h"
#include "app/report_window.h"
#include "support/temp_folder.h"
#include "win/control_ids.h"
#include "win/report_text.h"
#include "win/resource_ids.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace faultward::wintest {
namespace {

using faultward::testing::crlf;
using faultward::testing::readFile;
using faultward::testing::TempFolder;
namespace fs = std::filesystem;

TEST(ReportText, everyLineEndIsCrLf_andTheBytesReadInTheAnsiCodePage) {
    EXPECT_EQ(win::reportEditText("a\r\nb\rc\nd\r\r\ne"), L"a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(win::reportEditText("\n\r"), L"\r\n\r\n");
    EXPECT_EQ(win::reportEditText(""), L"");
    if (GetACP() == 1252) {
        EXPECT_EQ(win::reportEditText("Caf\xe9 \x80"), L"Caf\u00e9 \u20ac");
    }
}

// What the window showed, read while it was open.
struct Seen {
    std::string title, text;
    std::vector<std::string> buttons; // visible, left to right
    LONG textStyle = 0;
    bool fixedPitch = false;
    LRESULT limit = 0;
};

Seen look(HWND window) {
    Seen seen;
    seen.title = narrow(windowText(window));
    HWND text = GetDlgItem(window, FW_IDC_REPORT_TEXT);
    seen.text = narrow(windowText(text));
    seen.textStyle = GetWindowLongW(text, GWL_STYLE);
    seen.limit = SendMessageW(text, EM_GETLIMITTEXT, 0, 0);
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
    EXPECT_EQ(seen.textStyle & (ES_READONLY | ES_MULTILINE | WS_VSCROLL | WS_HSCROLL),
              ES_READONLY | ES_MULTILINE | WS_VSCROLL | WS_HSCROLL);
    EXPECT_TRUE(seen.fixedPitch);
    EXPECT_GT(seen.limit, 0x7FFFFFF);
    // The saved bytes are the report's; shown, each of its lines ends in CR LF.
    const std::string saved = readFile(folder / "Out.diff");
    EXPECT_NE(saved.find("+++"), std::string::npos);
    EXPECT_EQ(narrow(win::reportEditText(saved)), seen.text);
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

} // namespace
} // namespace faultward::wintest

#include "win_test_support.h"

#include "app/desktop/command.h"
#include "app/desktop/project_files_logic.h"
#include "app/texts/texts.h"
#include "office/vba_fixtures.h"
#include "support/temp_folder.h"
#include "win/control_ids.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace faultward::wintest {
namespace {

using faultward::testing::crlf;
using faultward::testing::readFile;
using faultward::testing::TempFolder;
namespace fs = std::filesystem;

class ProjectWindow : public ::testing::Test {
protected:
    // Opens a project of these lines through the Open button and the dialog.
    fs::path open(std::initializer_list<std::string_view> projectLines) {
        const fs::path vbp = folder.write("P.vbp", crlf(projectLines));
        program.dialog.answer = vbp.string();
        program.click(program.form1().cmd_tbl(0));
        return vbp;
    }

    // Space on an item, as the user changes its tick.
    void press(HTREEITEM item, UINT key = VK_SPACE) {
        HWND list = program.form1().List1();
        TreeView_SelectItem(list, item);
        SendMessageW(list, WM_KEYDOWN, key, 0);
        WinProgram::pump();
    }
    // A click of the mouse on an item's check box, found where the tree
    // view says it is.
    void clickTick(HTREEITEM item) {
        HWND list = program.form1().List1();
        RECT text{};
        TreeView_GetItemRect(list, item, &text, TRUE);
        TVHITTESTINFO hit{};
        hit.pt.y = (text.top + text.bottom) / 2;
        while (hit.pt.x < text.left &&
               !(TreeView_HitTest(list, &hit) == item && (hit.flags & TVHT_ONITEMSTATEICON)))
            ++hit.pt.x;
        POINT screen = hit.pt;
        ClientToScreen(list, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
        PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
        WinProgram::pump();
    }
    void tick(int row, bool ticked) {
        if (listTicks(program.form1().List1())[static_cast<std::size_t>(row)] != ticked)
            press(treeItems(program.form1().List1())[static_cast<std::size_t>(row)]);
    }

    TempFolder folder;
    KeptCurrentFolder keptFolder;
    WinProgram program;
};

// The File menu's Open Folder asks for a folder and lists its modules.
TEST_F(ProjectWindow, openFolderAsksTheFolderDialogAndListsTheFoldersModules) {
    folder.write("Export/Module1.bas", faultward::testing::kOneSubSource);
    folder.write("Export/Sheet1.cls", faultward::testing::kOneSubSource);
    folder.write("Export/UserForm1.frm", faultward::testing::kOneSubSource);
    program.dialog.answer = (folder / "Export").string();
    program.choose(win::kFileItemBase + commandNumber(Command::OpenFolder));
    EXPECT_EQ(program.dialog.askedForFolder.size(), 1u);
    EXPECT_EQ(listTexts(program.form1().List1()),
              (std::vector<std::string>{"Module1.bas", "UserForm1.frm"}));
    EXPECT_EQ(narrow(windowText(program.form1().lbl_proh())), (folder / "Export").string());
}

// Open takes an Office document: the tree lists its modules and opens each
// into its procedures, which the core reads from the document.
TEST_F(ProjectWindow, openDocumentListsItsModulesAndOpensThemIntoTheirProcedures) {
    const fs::path book =
        folder.write("Book.xlsm", faultward::office::testing::fixture("libreoffice_book.xlsm"));
    program.dialog.answer = book.string();
    program.click(program.form1().cmd_tbl(0));
    HWND list = program.form1().List1();
    EXPECT_EQ(listTexts(list), (std::vector<std::string>{"Module1.bas", "Module2.bas"}));
    const HTREEITEM module = treeItems(list)[1];
    press(module, VK_RIGHT);
    EXPECT_EQ(listTexts(list, module), (std::vector<std::string>{"Sub Hello \u2014 no handler"}));
}

TEST_F(ProjectWindow, startsWithTheToolRowLabelAndDisabledInsertRemove) {
    win::Form1& form = program.form1();
    EXPECT_EQ(narrow(windowText(form.cmd_tbl(0))), "Open Visual Basic Project");
    EXPECT_EQ(narrow(windowText(form.cmd_tbl(2))), "Insert Error- Handling Code");
    EXPECT_EQ(narrow(windowText(form.cmd_tbl(4))), "Remove Error- Handling Code");
    EXPECT_EQ(narrow(windowText(form.cmd_tbl(7))), "Help");
    EXPECT_TRUE(IsWindowEnabled(form.cmd_tbl(0)));
    EXPECT_FALSE(IsWindowEnabled(form.cmd_tbl(2)));
    EXPECT_FALSE(IsWindowEnabled(form.cmd_tbl(4)));
    EXPECT_TRUE(IsWindowEnabled(form.cmd_tbl(7)));
    EXPECT_EQ(narrow(windowText(form.lbl_proh())), "Project Files:");
    EXPECT_EQ(narrow(windowText(form.cmd_sel(0))), "Select All");
    EXPECT_EQ(narrow(windowText(form.cmd_sel(1))), "Select None");
    EXPECT_FALSE(IsWindowVisible(form.ProgressBar1()));
    EXPECT_EQ(GetWindowLongPtrW(form.List1(), GWL_STYLE) & TVS_CHECKBOXES, TVS_CHECKBOXES);

    // Open has no tooltip; the other three have one each.
    EXPECT_EQ(SendMessageW(form.tooltips(), TTM_GETTOOLCOUNT, 0, 0), 3);
    wchar_t tip[128] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = form.hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(form.cmd_tbl(4));
    info.lpszText = tip;
    SendMessageW(form.tooltips(), TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(narrow(tip), "Remove Error Handling Code");
}

TEST_F(ProjectWindow, tabGoesAlongTheToolRowToTheListAndTheSelectButtons) {
    open({"Module=A; A.bas"});
    win::Form1& form = program.form1();
    const std::vector<HWND> order{form.cmd_tbl(0), form.cmd_tbl(2), form.cmd_tbl(4),
                                  form.cmd_tbl(7), form.List1(),    form.cmd_sel(0),
                                  form.cmd_sel(1)};
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        EXPECT_EQ(GetNextDlgTabItem(form.hwnd(), order[i], FALSE), order[i + 1]) << i;
    EXPECT_EQ(GetNextDlgTabItem(form.hwnd(), order.back(), FALSE), order.front());
}

TEST_F(ProjectWindow, focusGoesToTheOpenButton_andBackToTheLastControlAfterLeaving) {
    win::Form1& form = program.form1();
    HWND frame = program.window->hwnd();
    SetFocus(frame);
    EXPECT_EQ(GetFocus(), form.cmd_tbl(0));

    open({"Module=A; A.bas"});
    SetFocus(form.List1());
    SendMessageW(frame, WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(form.cmd_sel(1));
    SetFocus(frame);
    EXPECT_EQ(GetFocus(), form.List1());
}

TEST_F(ProjectWindow, open_showsTheSortedTickedListThePathAndEnablesInsertRemove) {
    const fs::path vbp = open({"Module=M; Module1.bas", "Form=Form1.frm", "Form=a.frm"});
    ASSERT_EQ(program.dialog.asked.size(), 1u);
    EXPECT_EQ(program.dialog.asked[0].filter, kProjectFilter);
    EXPECT_EQ(program.dialog.asked[0].filterIndex, 2);

    win::Form1& form = program.form1();
    EXPECT_EQ(listTexts(form.List1()),
              (std::vector<std::string>{"a.frm", "Form1.frm", "Module1.bas"}));
    EXPECT_EQ(listTicks(form.List1()), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(narrow(windowText(form.lbl_proh())), vbp.string());
    EXPECT_TRUE(IsWindowEnabled(form.cmd_tbl(2)));
    EXPECT_TRUE(IsWindowEnabled(form.cmd_tbl(4)));
    // The list has the keyboard, on its first entry.
    EXPECT_EQ(GetFocus(), form.List1());
    EXPECT_EQ(TreeView_GetSelection(form.List1()), treeItems(form.List1())[0]);
    EXPECT_EQ(program.module.Project_File(), vbp.string());
}

TEST_F(ProjectWindow, checkBoxesAndSelectButtonsReachTheCore) {
    open({"Module=A; A.bas", "Module=B; B.bas", "Module=C; C.bas"});
    const auto coreTicks = [this] {
        std::vector<bool> ticks;
        for (const ListEntry& entry : program.window->projectFiles().entries())
            ticks.push_back(entry.selected);
        return ticks;
    };
    tick(1, false);
    EXPECT_EQ(coreTicks(), (std::vector<bool>{true, false, true}));

    program.click(program.form1().cmd_sel(1));
    EXPECT_EQ(coreTicks(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(listTicks(program.form1().List1()), (std::vector<bool>{false, false, false}));

    tick(2, true);
    EXPECT_EQ(coreTicks(), (std::vector<bool>{false, false, true}));

    program.click(program.form1().cmd_sel(0));
    EXPECT_EQ(listTicks(program.form1().List1()), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(coreTicks(), (std::vector<bool>{true, true, true}));
}

// Opening an entry shows the rows the core gives for its file; Space on a
// procedure unticks it there and in the project's own file, and the user
// stays on it; a click on its box ticks it again. An entry whose file has no
// procedures loses its button.
TEST_F(ProjectWindow, anEntryOpensIntoItsProcedures_spaceOrAClickKeepsItsTickInTheProjectsFile) {
    folder.write("M.bas", crlf({"Sub A()", "    Beep", "End Sub", "Sub C(): End Sub"}));
    open({"Module=M; M.bas", "Module=X; X.bas"});
    HWND list = program.form1().List1();
    const HTREEITEM module = treeItems(list)[0];
    press(module, VK_RIGHT);
    ASSERT_EQ(
        listTexts(list, module),
        (std::vector<std::string>{"Sub A \u2014 no handler", "Sub C \u2014 left alone: one-line"}));
    EXPECT_EQ(listTicks(list, module), (std::vector<bool>{true, true}));

    const HTREEITEM first = treeItems(list, module)[0];
    press(first);
    EXPECT_EQ(listTexts(list, module)[0], "Sub A \u2014 left alone: listed in [Leave]");
    EXPECT_EQ(listTicks(list, module), (std::vector<bool>{false, true}));
    EXPECT_EQ(TreeView_GetSelection(list), first);
    const std::string kept = readFile(folder / "P.faultward");
    EXPECT_NE(kept.find("[Leave]\r\nM.bas:A\r\n"), std::string::npos) << kept;
    // A click on its box ticks it again.
    clickTick(first);
    EXPECT_EQ(listTicks(list, module), (std::vector<bool>{true, true}));
    EXPECT_EQ(readFile(folder / "P.faultward").find("M.bas:A"), std::string::npos);

    // - of the main keyboard closes the entry, + opens it.
    press(module, VK_OEM_MINUS);
    EXPECT_EQ(TreeView_GetItemState(list, module, TVIS_EXPANDED), 0u);
    press(module, VK_OEM_PLUS);
    EXPECT_EQ(TreeView_GetItemState(list, module, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));

    TVITEMW button{};
    button.mask = TVIF_CHILDREN;
    button.hItem = treeItems(list)[1];
    press(button.hItem, VK_RIGHT);
    TreeView_GetItem(list, &button);
    EXPECT_EQ(button.cChildren, 0);
    EXPECT_TRUE(program.messages.shown.empty());
}

// At the first size a procedure's state shows whole beside its head, which
// gives way; the item's text, which a screen reader reads, stays whole.
// Widened, the states line up after the heads.
TEST_F(ProjectWindow, aProceduresStateShowsWholeAtTheFirstSize_theHeadGivesWay) {
    folder.write("M.bas", crlf({"Private Sub cmdSaveTheQuarterlyReportToTheArchive_Click()",
                                "    Beep", "End Sub", "Sub B()", "End Sub"}));
    open({"Module=M; M.bas"});
    HWND list = program.form1().List1();
    const HTREEITEM module = treeItems(list)[0];
    press(module, VK_RIGHT);
    const HTREEITEM saveReport = treeItems(list, module)[0];
    press(saveReport);
    EXPECT_EQ(listTexts(list, module)[0], "Sub cmdSaveTheQuarterlyReportToTheArchive_Click \u2014 "
                                          "left alone: listed in [Leave]");

    const win::FileTree& tree = program.form1().fileTree();
    const auto shown = tree.shownText(saveReport);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->state, L"left alone: listed in [Leave]");
    EXPECT_NE(shown->head.find(L'\u2026'), std::wstring::npos) << narrow(shown->head);
    RECT client;
    GetClientRect(list, &client);
    EXPECT_LE(shown->statePlace.right, client.right);
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL, 0);
    EXPECT_FALSE(tree.shownText(module)) << "an entry has no state";

    HWND frame = program.window->hwnd();
    const SIZE first = program.window->designedOuterSize();
    SetWindowPos(frame, nullptr, 0, 0, first.cx + 300, first.cy, SWP_NOMOVE | SWP_NOZORDER);
    const auto wide = tree.shownText(saveReport);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->head, L"Sub cmdSaveTheQuarterlyReportToTheArchive_Click");
    EXPECT_EQ(wide->statePlace.left, tree.shownText(treeItems(list, module)[1])->statePlace.left);
}

// Alt+Space opens the window menu (to maximize, say) and leaves the tick.
TEST_F(ProjectWindow, altSpaceInTheList_keepsTheTick_altF4ClosesTheWindow) {
    open({"Module=A; A.bas"});
    HWND list = program.form1().List1();
    TreeView_SelectItem(list, treeItems(list)[0]);
    constexpr LPARAM kAltHeld = 1 | (1 << 29);
    // The window menu's loop ends at the Escape waiting for it.
    PostMessageW(program.window->hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageW(list, WM_SYSKEYDOWN, VK_SPACE, kAltHeld);
    WinProgram::pump();
    EXPECT_EQ(listTicks(list), std::vector<bool>{true});
    EXPECT_TRUE(program.window->projectFiles().entries()[0].selected);

    SendMessageW(list, WM_SYSKEYDOWN, VK_F4, kAltHeld);
    WinProgram::pump();
    EXPECT_EQ(program.closed, 1);
}

TEST_F(ProjectWindow, insert_treatsTheTickedFilesOnly_andLeavesTheBarHiddenAtItsEnd) {
    folder.write("A.bas", kOneSubSource);
    folder.write("B.bas", kOneSubSource);
    open({"Module=A; A.bas", "Module=B; B.bas"});
    tick(1, false);
    program.sound.events.clear();
    // What the windows show while the passes run, read at every step.
    struct BarWatcher final : PassFeedback {
        BarWatcher(win::MDIForm1& window, win::Form1& form)
            : PassFeedback(window, form), form(form) {}
        void entryMadeCurrent(int index) override {
            PassFeedback::entryMadeCurrent(index);
            current.push_back(TreeView_GetSelection(form.List1()) ==
                              treeItems(form.List1())[static_cast<std::size_t>(index)]);
        }
        void progressValue(int value) override {
            PassFeedback::progressValue(value);
            shown.push_back(IsWindowVisible(form.ProgressBar1()) &&
                            SendMessageW(form.ProgressBar1(), PBM_GETPOS, 0, 0) == value);
        }
        win::Form1& form;
        std::vector<bool> current, shown;
    } watcher(*program.window, program.form1());
    program.window->projectFiles().setFeedback(&watcher);

    program.click(program.form1().cmd_tbl(2));
    program.window->projectFiles().setFeedback(nullptr);
    // Both passes made the one ticked entry current and showed their progress.
    ASSERT_FALSE(watcher.current.empty());
    EXPECT_EQ(std::count(watcher.current.begin(), watcher.current.end(), false), 0);
    ASSERT_FALSE(watcher.shown.empty());
    EXPECT_EQ(std::count(watcher.shown.begin(), watcher.shown.end(), false), 0);
    EXPECT_NE(readFile(folder / "A.bas").find("ERR_A"), std::string::npos);
    EXPECT_EQ(readFile(folder / "B.bas"), kOneSubSource);
    EXPECT_EQ(program.sound.events, (std::vector<int>{11, 0, 12}));
    EXPECT_EQ(narrow(windowText(program.window->hwnd())), "Faultward- Task Completed");
    HWND bar = program.form1().ProgressBar1();
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_EQ(TreeView_GetSelection(program.form1().List1()), nullptr);
    EXPECT_TRUE(program.messages.shown.empty());

    // Remove from the menu takes the handler out again; Open restores the caption.
    program.choose(win::kFileItemBase + 4);
    EXPECT_EQ(readFile(folder / "A.bas"), kOneSubSource);
    program.dialog.answer.reset();
    program.choose(win::kFileItemBase + 0);
    EXPECT_EQ(narrow(windowText(program.window->hwnd())), "Faultward");
}

TEST_F(ProjectWindow, lineNumberItems_numberAndUnnumberTheTickedFiles) {
    const std::string source = crlf({"Sub A()", "    Beep", "End Sub"});
    folder.write("A.bas", source);
    folder.write("B.bas", source);
    open({"Module=A; A.bas", "Module=B; B.bas"});
    tick(1, false);
    program.choose(win::kFileItemBase + 9);
    EXPECT_EQ(readFile(folder / "A.bas"), crlf({"Sub A()", "10     Beep", "End Sub"}));
    EXPECT_EQ(readFile(folder / "B.bas"), source);
    EXPECT_EQ(narrow(windowText(program.window->hwnd())), "Faultward- Task Completed");
    program.choose(win::kFileItemBase + 10);
    EXPECT_EQ(readFile(folder / "A.bas"), source);
    EXPECT_TRUE(program.messages.shown.empty());
}

// The message's choice reaches the core, which numbers afresh.
TEST_F(ProjectWindow, authorsNumbers_areRenumberedWhenTheMessageSaysSo) {
    folder.write("A.bas",
                 crlf({"Sub Save()", "    Dim x As Long", "100 x = 1", "102 Beep", "End Sub"}));
    open({"Module=A; A.bas"});
    program.messages.choiceAnswers = {true};
    program.choose(win::kFileItemBase + 9);
    ASSERT_EQ(program.messages.shown.size(), 2u);
    EXPECT_EQ(program.messages.shown[0].choice, "&Renumber Them");
    EXPECT_EQ(program.messages.shown[0].owner, program.window->hwnd());
    EXPECT_EQ(readFile(folder / "A.bas"),
              crlf({"Sub Save()", "10     Dim x As Long", "20 x = 1", "30 Beep", "End Sub"}));
}

TEST_F(ProjectWindow, filesNotProcessed_areNamedInOneMessage) {
    folder.write("A.bas", kOneSubSource);
    open({"Module=A; A.bas", "Module=G; Gone.bas"});
    program.click(program.form1().cmd_tbl(2));
    ASSERT_EQ(program.messages.shown.size(), 1u);
    EXPECT_EQ(program.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_NE(program.messages.shown[0].text.find("Gone.bas: not found"), std::string::npos);
    EXPECT_EQ(program.sound.events.back(), 12);
}

// The core asks; the window's message boxes show the question and give
// back the answer.
TEST_F(ProjectWindow, aFileOutsideTheProjectsFolder_isWrittenOnlyAfterYes) {
    const fs::path shared = folder.write("Shared/S.bas", kOneSubSource);
    program.dialog.answer =
        folder.write("proj/P.vbp", crlf({"Module=S; ..\\Shared\\S.bas"})).string();
    program.click(program.form1().cmd_tbl(0));
    program.click(program.form1().cmd_tbl(2));
    ASSERT_EQ(program.messages.questions.size(), 1u);
    EXPECT_NE(program.messages.questions[0].find("..\\Shared\\S.bas, at "), std::string::npos)
        << program.messages.questions[0];
    EXPECT_EQ(readFile(shared), kOneSubSource);
    program.messages.answers.push_back(true);
    program.click(program.form1().cmd_tbl(2));
    EXPECT_NE(readFile(shared), kOneSubSource);
    EXPECT_TRUE(program.messages.shown.empty());
}

TEST_F(ProjectWindow, unreadableProject_emptiesTheListAndSaysSo) {
    folder.write("A.bas", kOneSubSource);
    open({"Module=A; A.bas"});
    program.dialog.answer = (folder / "missing.vbp").string();
    program.click(program.form1().cmd_tbl(0));
    EXPECT_TRUE(listTexts(program.form1().List1()).empty());
    ASSERT_EQ(program.messages.shown.size(), 1u);
    EXPECT_EQ(program.module.Project_File(), (folder / "missing.vbp").string());
}

} // namespace
} // namespace faultward::wintest

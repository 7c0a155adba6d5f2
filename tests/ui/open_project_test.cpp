#include "app/texts/texts.h"
#include "office/vba_fixtures.h"
#include "ui/form1.h"
#include "ui/list_entries.h"
#include "ui/path_label.h"
#include "ui/project_files_tree.h"
#include "ui_test_support.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace faultward::uitest {
namespace {

QStringList shownEntries(ProjectFilesTree& list) {
    QStringList texts;
    for (int i = 0; i < list.entryCount(); ++i)
        texts << list.entry(i)->text(0);
    return texts;
}

std::vector<Qt::CheckState> ticks(ProjectFilesTree& list) {
    std::vector<Qt::CheckState> states;
    for (int i = 0; i < list.entryCount(); ++i)
        states.push_back(list.entry(i)->checkState(0));
    return states;
}

const std::string kProject = crlf({
    "Type=Exe",
    "Module=Module1; Module1.bas",
    "Form=Form1.frm",
    "Class=Widget; Widget.cls",
    "Module=Faultward; lib\\FAULTWARD.BAS",
    "form=lower.frm",
    "Form=form2.frm",
    "UserControl=Ctl.ctl",
});

// The list then has the keyboard, on its first row without choosing it.
TEST(OpenProject, open_listsFormsAndModulesSortedAndTicked_andTheListTakesTheKeyboard) {
    RunningProgram program(crlf({"[OS]", "Project_File=/earlier/Old.vbp", "Error_Flag=0"}));
    const auto project = program.write("proj/Sample.vbp", kProject);
    program.window().setWindowTitle(QStringLiteral("Faultward- Task Completed"));

    program.openProject(project);

    Form1& form = program.window().form1();
    EXPECT_EQ(shownEntries(form.List1()), (QStringList{"Form1.frm", "form2.frm", "Module1.bas"}));
    EXPECT_EQ(ticks(form.List1()), std::vector<Qt::CheckState>(3, Qt::Checked));
    EXPECT_EQ(program.window().focusWidget(), &form.List1());
    EXPECT_EQ(form.List1().currentEntry(), 0);
    EXPECT_TRUE(form.List1().selectedItems().isEmpty());
    EXPECT_EQ(form.lbl_proh().text(), qpath(project));
    EXPECT_TRUE(form.cmd_tbl(2).isEnabled());
    EXPECT_TRUE(form.cmd_tbl(4).isEnabled());
    EXPECT_EQ(program.window().windowTitle(), "Faultward");
    EXPECT_EQ(program.module().Project_File(), project.string());
    EXPECT_EQ(std::filesystem::current_path(), project.parent_path());

    ASSERT_EQ(program.dialog().requests.size(), 1u);
    const FileDialogRequest& request = program.dialog().requests[0];
    EXPECT_EQ(request.fileName, "/earlier/Old.vbp");
    EXPECT_EQ(request.filter.toStdString(), kProjectFilter);
    EXPECT_EQ(request.filterIndex, 2);
    EXPECT_TRUE(program.messages().texts.empty());
}

// The File menu's Open Folder asks for a folder and lists its modules.
TEST(OpenProject, openFolder_asksTheFolderDialogAndListsTheFoldersModules) {
    RunningProgram program(crlf({"[OS]", "Project_File=/earlier/Old.vbp", "Error_Flag=0"}));
    program.write("Export/Module1.bas", kOneSubSource);
    program.write("Export/UserForm1.frm", kOneSubSource);
    const auto folder = program.folder() / "Export";
    program.dialog().answers.push_back(qpath(folder));
    program.trigger("mnu_f_15");
    EXPECT_EQ(program.dialog().folderRequests, QStringList{"/earlier/Old.vbp"});
    Form1& form = program.window().form1();
    EXPECT_EQ(shownEntries(form.List1()), (QStringList{"Module1.bas", "UserForm1.frm"}));
    EXPECT_EQ(form.lbl_proh().text(), qpath(folder));
    EXPECT_EQ(program.module().Project_File(), folder.string());
}

// File > Open takes an Office document: the tree lists its modules and opens
// each into its procedures, which the core reads from the document.
TEST(OpenProject, openDocument_listsItsModulesAndOpensThemIntoTheirProcedures) {
    RunningProgram program;
    const auto book = program.write("Book.xlsm", office::testing::fixture("libreoffice_book.xlsm"));
    program.openProject(book);
    ProjectFilesTree& tree = program.window().form1().List1();
    EXPECT_EQ(shownEntries(tree), (QStringList{"Module1.bas", "Module2.bas"}));
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_End);
    QTest::keyClick(&tree, Qt::Key_Plus);
    ASSERT_EQ(tree.entry(1)->childCount(), 1);
    EXPECT_TRUE(tree.entry(1)->child(0)->text(0).startsWith("Sub Hello"))
        << tree.entry(1)->child(0)->text(0).toStdString();
}

TEST(OpenProject, emptyProject_showsPathAndEnablesButtons) {
    RunningProgram program;
    const auto project = program.write("Empty.vbp", "");
    program.openProject(project);
    Form1& form = program.window().form1();
    EXPECT_EQ(form.List1().entryCount(), 0);
    EXPECT_EQ(form.lbl_proh().text(), qpath(project));
    EXPECT_TRUE(form.cmd_tbl(2).isEnabled());
}

TEST(OpenProject, cancel_leavesEverythingButTheCaption) {
    RunningProgram program;
    const auto project = program.write("proj/Sample.vbp", kProject);
    program.openProject(project);
    program.window().form1().List1().entry(0)->setCheckState(0, Qt::Unchecked);
    program.window().setWindowTitle(QStringLiteral("Faultward- Task Completed"));

    program.dialog().answers.push_back(std::nullopt);
    program.click("cmd_tbl_0");

    Form1& form = program.window().form1();
    EXPECT_EQ(program.window().windowTitle(), "Faultward");
    EXPECT_EQ(form.List1().entryCount(), 3);
    EXPECT_EQ(form.List1().entry(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(form.lbl_proh().text(), qpath(project));
    EXPECT_EQ(program.module().Project_File(), project.string());
    EXPECT_EQ(program.dialog().requests.back().fileName, qpath(project));
}

TEST(OpenProject, unreadableChoice_keepsPathEmptiesListAndSaysWhy) {
    RunningProgram program;
    const auto first = program.write("proj/Sample.vbp", kProject);
    program.openProject(first);
    const auto missing = program.folder() / "other" / "Missing.vbp";
    std::filesystem::create_directories(missing.parent_path());

    program.openProject(missing);

    Form1& form = program.window().form1();
    EXPECT_EQ(program.module().Project_File(), missing.string());
    EXPECT_EQ(form.List1().entryCount(), 0);
    EXPECT_EQ(form.lbl_proh().text(), qpath(first));
    EXPECT_TRUE(form.cmd_tbl(2).isEnabled());
    ASSERT_EQ(program.messages().texts.size(), 1u);
    EXPECT_TRUE(program.messages().texts[0].contains(qpath(missing)));
    EXPECT_EQ(program.messages().icons[0], MessageIcon::Warning);
    // Saved at close, so the next dialog starts at the new path.
    program.window().close();
    EXPECT_NE(readFile(program.settingsFile()).find("Project_File=" + missing.string()),
              std::string::npos);
}

// A folder named in Latin-1 shows with replacement characters; the stored path
// keeps its bytes through the dialog to the reader and back to the settings.
TEST(OpenProject, storedPathThatIsNotUtf8_opensAndIsSavedWithItsBytes) {
    faultward::testing::TempFolder disk;
    const std::filesystem::path stored = disk.write("caf\xe9/P.vbp", kProject);
    const std::filesystem::path beside = disk.write("caf\xe9/Q.vbp", kProject);
    RunningProgram program(crlf({"[OS]", "Project_File=" + stored.string(), "Error_Flag=0"}));

    // The user takes the preset the dialog shows.
    program.dialog().answers.push_back(qpath(stored));
    program.click("cmd_tbl_0");
    EXPECT_EQ(program.module().Project_File(), stored.string());
    EXPECT_EQ(program.window().form1().List1().entryCount(), 3);
    EXPECT_TRUE(program.messages().texts.empty());

    // A file beside it keeps the folder's bytes too.
    program.dialog().answers.push_back(qpath(beside));
    program.click("cmd_tbl_0");
    EXPECT_EQ(program.module().Project_File(), beside.string());

    // A mangled name elsewhere is refused and the stored path stays.
    program.dialog().answers.push_back(qpath(disk / "caf\xe9x" / "P.vbp"));
    program.click("cmd_tbl_0");
    EXPECT_EQ(program.module().Project_File(), beside.string());
    ASSERT_EQ(program.messages().texts.size(), 1u);
    EXPECT_TRUE(program.messages().texts[0].contains("not in this system's encoding"));

    program.window().close();
    EXPECT_NE(readFile(program.settingsFile()).find("Project_File=" + beside.string() + "\r\n"),
              std::string::npos);
}

TEST(OpenProject, secondOpen_replacesListAndTicksEverything) {
    RunningProgram program;
    program.openProject(program.write("a/A.vbp", kProject));
    program.click("cmd_sel_1");
    program.openProject(program.write("b/B.vbp", crlf({"Form=Zeta.frm", "Form=alpha.frm"})));
    Form1& form = program.window().form1();
    EXPECT_EQ(shownEntries(form.List1()), (QStringList{"alpha.frm", "Zeta.frm"}));
    EXPECT_EQ(ticks(form.List1()), std::vector<Qt::CheckState>(2, Qt::Checked));
}

TEST(OpenProject, codePage1252Entry_isShownDecodedAndKeepsItsBytes) {
    RunningProgram program;
    program.openProject(program.write("p/P.vbp", crlf({"Form=Caf\xe9.frm", "Form=a.frm"})));
    ProjectFilesTree& list = program.window().form1().List1();
    ASSERT_EQ(list.entryCount(), 2);
    EXPECT_EQ(list.entry(1)->text(0), QString::fromUtf8("Caf\xc3\xa9.frm"));
    EXPECT_EQ(entryBytes(*list.entry(1)), "Caf\xe9.frm");
}

TEST(OpenProject, entriesComparingEqual_keepTheProjectsOrder) {
    RunningProgram program;
    program.openProject(
        program.write("p/P.vbp", crlf({"Form=b.frm", "Form=A.frm", "Form=a.frm", "Form=B.frm"})));
    EXPECT_EQ(shownEntries(program.window().form1().List1()),
              (QStringList{"A.frm", "a.frm", "b.frm", "B.frm"}));
}

} // namespace
} // namespace faultward::uitest

// Runs of the program by keyboard and mouse, as a user would, each compared
// with faultward-cli's files: Handler Settings, preview, insert from the
// preview, and Remove, which gives the original bytes back; and a procedure
// unticked in the list before Insert.

#include "cli/cli_run.h"
#include "ui/form1.h"
#include "ui/project_files_tree.h"
#include "ui/report_dialog.h"
#include "ui/report_text_view.h"
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace faultward::uitest {
namespace {

const std::string kTemplate = FAULTWARD_TEMPLATES_DIR "/mode1-resume-next.txt";

void writeProject(RunningProgram& program, const std::string& folder) {
    program.write(folder + "/Run.vbp", crlf({"Type=Exe", "Form=Main.frm", "Module=Tools; Tools.bas",
                                             "Class=Account; Account.cls"}));
    program.write(folder + "/Main.frm", crlf({"VERSION 5.00", "Attribute VB_Name = \"Main\"",
                                              "Private Sub Form_Load()", "    Show", "End Sub"}));
    program.write(
        folder + "/Tools.bas",
        crlf({"Attribute VB_Name = \"Tools\"", "Public Function Twice(N As Long) As Long",
              "    Twice = N * 2", "End Function", "Public Sub Go()", "    Beep", "End Sub"}));
    program.write(
        folder + "/Account.cls",
        crlf({"VERSION 1.0 CLASS", "Attribute VB_Name = \"Account\"",
              "Public Function Balance() As Currency", "    Balance = 1 / 0", "End Function",
              "Public Property Get Owner() As String", "    Owner = \"x\"", "End Property"}));
}

// Opens a menu of the main window with its access key, then picks an item
// with the item's.
void pickFromMenu(MDIForm1& window, Qt::Key menuKey, Qt::Key itemKey) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, menuKey, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, itemKey);
}

// The same for an item that opens a dialog, which runs `steps`.
void chooseFromMenu(MDIForm1& window, Qt::Key menuKey, Qt::Key itemKey,
                    std::function<void(QWidget&)> steps) {
    OnNextModal modal(std::move(steps));
    pickFromMenu(window, menuKey, itemKey);
    EXPECT_TRUE(modal.ran());
}

void clickMouse(QWidget& modal, const char* name) {
    auto* button = modal.findChild<QAbstractButton*>(QString::fromUtf8(name));
    ASSERT_NE(button, nullptr) << name;
    // Check boxes take the click on their box and caption, at the left.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

TEST(DesktopRun, settingsPreviewAndInsertByKeyboardAndMouse_writeWhatTheCommandLineWrites) {
    RunningProgram program;
    writeProject(program, "gui");
    writeProject(program, "cli");
    const auto original = treeOf(program.folder() / "gui");

    program.dialog().answers.push_back(qpath(program.folder() / "gui" / "Run.vbp"));
    QTest::mouseClick(program.window().findChild<QAbstractButton*>(QStringLiteral("cmd_tbl_0")),
                      Qt::LeftButton);

    chooseFromMenu(program.window(), Qt::Key_P, Qt::Key_S, [&](QWidget& dialog) {
        QTest::keyClick(&dialog, Qt::Key_F, Qt::AltModifier); // Function
        // An access key clicks its button once the press has been drawn.
        auto* function = dialog.findChild<QCheckBox*>(QStringLiteral("chk_proc_function"));
        ASSERT_TRUE(QTest::qWaitFor([function] { return function->isChecked(); }));
        clickMouse(dialog, "chk_file_cls");
        clickMouse(dialog, "opt_handler_template"); // which lets Browse be used
        program.dialog().answers.push_back(QString::fromStdString(kTemplate));
        clickMouse(dialog, "cmd_browse");
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Return); // OK
        if (dialog.isVisible())
            dialog.close();
    });
    ASSERT_TRUE(program.messages().texts.empty()) << program.messages().texts[0].toStdString();

    const auto dryRunOfCli = [&](bool diff) {
        std::vector<std::string> arguments{"insert",       "--dry-run", "--procedures",
                                           "sub,function", "--kinds",   "form,module,class",
                                           "--template",   kTemplate};
        if (diff)
            arguments.emplace_back("--diff");
        arguments.push_back((program.folder() / "cli" / "Run.vbp").string());
        return runIn(program.folder() / "cli-settings", arguments);
    };
    const CliRun counts = dryRunOfCli(false);
    const CliRun dryRun = dryRunOfCli(true);
    ASSERT_EQ(dryRun.status, 0) << dryRun.err;
    ASSERT_EQ(counts.status, 0) << counts.err;

    QString preview;
    chooseFromMenu(program.window(), Qt::Key_F, Qt::Key_V, [&](QWidget& window) {
        auto* text = window.findChild<ReportTextView*>(QStringLiteral("txt_report"));
        QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
        preview = QApplication::clipboard()->text();
        clickMouse(window, "cmd_insert");
    });
    EXPECT_TRUE(preview.contains(QLatin1String("Account.cls"))) << preview.toStdString();
    EXPECT_TRUE(preview.contains(QLatin1String("ERR_Twice"))) << preview.toStdString();
    // The counts per file come first, then the command line's differences.
    EXPECT_EQ(preview, shownReport(counts.out + "\n" + dryRun.out));

    const CliRun insert =
        runIn(program.folder() / "cli-settings",
              {"insert", "--procedures", "sub,function", "--kinds", "form,module,class",
               "--template", kTemplate, (program.folder() / "cli" / "Run.vbp").string()});
    ASSERT_EQ(insert.status, 0) << insert.err;
    const auto inserted = treeOf(program.folder() / "gui");
    EXPECT_EQ(inserted, treeOf(program.folder() / "cli"));
    EXPECT_NE(inserted, original);

    QTest::mouseClick(program.window().findChild<QAbstractButton*>(QStringLiteral("cmd_tbl_4")),
                      Qt::LeftButton);
    EXPECT_EQ(treeOf(program.folder() / "gui"), original);
    EXPECT_TRUE(program.messages().texts.empty());
}

// By keyboard: File > Open, open Tools.bas in the list, untick Sub Go, File >
// Insert; the command line, given the project's file the desktop wrote,
// writes the same files.
TEST(DesktopRun, procedureUntickedByKeyboardThenInsert_writesWhatTheCommandLineWrites) {
    RunningProgram program;
    writeProject(program, "gui");
    writeProject(program, "cli");
    program.dialog().answers.push_back(qpath(program.folder() / "gui" / "Run.vbp"));
    pickFromMenu(program.window(), Qt::Key_F, Qt::Key_O);
    ProjectFilesTree& list = program.window().form1().List1();
    list.setFocus(); // as Tab from the tool row would
    for (const Qt::Key key : {Qt::Key_Home, Qt::Key_End, Qt::Key_Plus, Qt::Key_Down})
        QTest::keyClick(&list, key);
    ASSERT_EQ(list.currentItem()->text(0), "Sub Go");
    QTest::keyClick(&list, Qt::Key_Space);
    pickFromMenu(program.window(), Qt::Key_F, Qt::Key_I);

    std::filesystem::copy_file(program.folder() / "gui" / "Run.faultward",
                               program.folder() / "cli" / "Run.faultward");
    const CliRun insert = runIn(program.folder() / "cli-settings",
                                {"insert", (program.folder() / "cli" / "Run.vbp").string()});
    ASSERT_EQ(insert.status, 0) << insert.err;
    const auto inserted = treeOf(program.folder() / "gui");
    EXPECT_EQ(inserted, treeOf(program.folder() / "cli"));
    EXPECT_NE(inserted.at("Main.frm").find("ERR_Form_Load"), std::string::npos);
    EXPECT_NE(inserted.at("Run.faultward").find("[Leave]\r\nTools.bas:Go\r\n"), std::string::npos);
    EXPECT_TRUE(program.messages().texts.empty());
}

} // namespace
} // namespace faultward::uitest

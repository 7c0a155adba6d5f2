#include "app/desktop/project_files_logic.h"
#include "rewrite/passes.h"
#include "support/vb_project_generator.h"
#include "ui/form1.h"
#include "ui/project_files_tree.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QWindow>

#include <gtest/gtest.h>
#include <map>

namespace faultward::uitest {
namespace {

// What the windows showed at a moment of a pass.
struct Look {
    QString caption;
    bool waitPointer = false;
    bool barVisible = false;
    int barMinimum = 0;
    int barMaximum = 0;
    int barValue = 0;
    int currentRow = -2;
};

// Looks at the windows each time the pass reports, after they were updated.
class WindowWatcher : public PassFeedback {
public:
    explicit WindowWatcher(MDIForm1& window)
        : PassFeedback(window, window.form1()), window_(window) {}
    void passStarted(PassKind kind, int minimum, int maximum) override {
        PassFeedback::passStarted(kind, minimum, maximum);
        looks.push_back(look());
    }
    void entryMadeCurrent(int index) override {
        PassFeedback::entryMadeCurrent(index);
        looks.push_back(look());
    }
    void passFinished(PassKind kind) override {
        PassFeedback::passFinished(kind);
        looks.push_back(look());
    }
    std::vector<Look> looks;

private:
    Look look() const {
        Form1& form = window_.form1();
        const QCursor* pointer = QApplication::overrideCursor();
        return {window_.windowTitle(),           pointer && pointer->shape() == Qt::WaitCursor,
                form.ProgressBar1().isVisible(), form.ProgressBar1().minimum(),
                form.ProgressBar1().maximum(),   form.ProgressBar1().value(),
                form.List1().currentEntry()};
    }
    MDIForm1& window_;
};

void expectIdleAfterPass(RunningProgram& program) {
    Form1& form = program.window().form1();
    EXPECT_EQ(program.window().windowTitle(), "Faultward- Task Completed");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(form.ProgressBar1().isVisible());
    EXPECT_EQ(form.List1().currentEntry(), -1);
}

const std::string kFormText =
    crlf({"VERSION 5.00", "Private Sub Command1_Click()", "    Total = Total / Count", "End Sub"});
const std::string kModuleText =
    crlf({"Attribute VB_Name = \"Module1\"", "Public Sub Main()", "    Form2.Show", "End Sub"});

struct SmallProject {
    std::filesystem::path project, form, module, other;
};

SmallProject writeSmallProject(RunningProgram& program) {
    SmallProject p;
    p.form = program.write("proj/Form1.frm", kFormText);
    p.module = program.write("proj/lib/Module1.bas", kModuleText);
    p.other = program.write("proj/Other.frm", kFormText);
    p.project = program.write("proj/P.vbp", crlf({"Form=Other.frm", "Form=Form1.frm",
                                                  "Module=Module1; lib\\Module1.bas"}));
    return p;
}

TEST(PassesWindow, insert_rewritesTickedFilesInModeAndShowsProgress) {
    RunningProgram program;
    const SmallProject p = writeSmallProject(program);
    program.openProject(p.project);
    // List order: Form1.frm, lib\Module1.bas, Other.frm; leave Other.frm alone.
    ProjectFilesTree& list = program.window().form1().List1();
    list.entry(2)->setCheckState(0, Qt::Unchecked);
    program.trigger("mnu_o_2");
    WindowWatcher watcher(program.window());
    program.window().projectFiles().setFeedback(&watcher);

    program.click("cmd_tbl_2");

    EXPECT_EQ(readFile(p.form),
              crlf({"VERSION 5.00", "Private Sub Command1_Click()",
                    "ON ERROR GOTO ERR_Command1_Click  '~Faultward~", "    Total = Total / Count",
                    "EXIT SUB  '~Faultward~", "ERR_Command1_Click:  '~Faultward~",
                    "  I_Process_Errors  '~Faultward~", "  RESUME NEXT  '~Faultward~", "End Sub"}));
    EXPECT_NE(readFile(p.module).find("ON ERROR GOTO ERR_Main  '~Faultward~"), std::string::npos);
    EXPECT_EQ(readFile(p.other), kFormText);

    // Removal pass, then insertion pass: each starts busy with its caption and
    // the bar over the label, walks the entries, and ends idle.
    ASSERT_EQ(watcher.looks.size(), 10u);
    const Look& removing = watcher.looks[0];
    EXPECT_EQ(removing.caption, "Removing Error Handling Code");
    EXPECT_TRUE(removing.waitPointer);
    EXPECT_TRUE(removing.barVisible);
    EXPECT_EQ(removing.barMaximum, 3);
    const Look& inserting = watcher.looks[5];
    EXPECT_EQ(inserting.caption, "Inserting Error Handling Code");
    EXPECT_TRUE(inserting.waitPointer);
    EXPECT_EQ(inserting.barMinimum, 0);
    EXPECT_EQ(inserting.barMaximum, 2);
    EXPECT_EQ(inserting.barValue, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(watcher.looks[6 + i].currentRow, i);
        EXPECT_TRUE(watcher.looks[6 + i].barVisible);
    }
    EXPECT_EQ(watcher.looks[9].caption, "Faultward- Task Completed");
    EXPECT_FALSE(watcher.looks[9].waitPointer);

    expectIdleAfterPass(program);
    EXPECT_EQ(list.entry(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(list.entry(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(list.entry(2)->checkState(0), Qt::Unchecked);
    EXPECT_TRUE(program.messages().texts.empty());
    program.window().projectFiles().setFeedback(nullptr);
}

TEST(PassesWindow, insertTwiceThenRemove_givesBackTheOriginalBytes) {
    RunningProgram program;
    const SmallProject p = writeSmallProject(program);
    program.openProject(p.project);
    program.click("cmd_tbl_2");
    program.trigger("mnu_o_0");
    program.trigger("mnu_f_2");
    const std::string inserted = readFile(p.form);
    EXPECT_EQ(inserted.find("I_Process_Errors"), std::string::npos);
    EXPECT_NE(inserted.find("MsgBox"), std::string::npos);
    EXPECT_EQ(inserted.find("ON ERROR GOTO"), inserted.rfind("ON ERROR GOTO"));

    program.click("cmd_tbl_4");
    EXPECT_EQ(readFile(p.form), kFormText);
    EXPECT_EQ(readFile(p.module), kModuleText);
    expectIdleAfterPass(program);
}

TEST(PassesWindow, lineNumberItems_numberAndUnnumberTheFiles) {
    RunningProgram program;
    const SmallProject p = writeSmallProject(program);
    program.openProject(p.project);
    program.trigger("mnu_f_9");
    EXPECT_NE(readFile(p.module).find("\r\n10     Form2.Show\r\n"), std::string::npos);
    expectIdleAfterPass(program);
    program.trigger("mnu_f_10");
    EXPECT_EQ(readFile(p.module), kModuleText);
    EXPECT_EQ(readFile(p.form), kFormText);
    EXPECT_TRUE(program.messages().texts.empty());
}

// The message's choice reaches the core, which numbers afresh.
TEST(PassesWindow, authorsNumbers_areRenumberedWhenTheMessageSaysSo) {
    RunningProgram program;
    const auto module = program.write("proj/A.bas", crlf({"Sub Save()", "    Dim x As Long",
                                                          "100 x = 1", "102 Beep", "End Sub"}));
    program.openProject(program.write("proj/P.vbp", crlf({"Module=A; A.bas"})));
    program.messages().choiceAnswers = {true};
    program.trigger("mnu_f_9");
    ASSERT_EQ(program.messages().choices.size(), 2u);
    EXPECT_EQ(program.messages().choices[0], QStringLiteral("&Renumber Them"));
    EXPECT_TRUE(program.messages().details[0].contains(QStringLiteral("line 2 has no number")));
    EXPECT_EQ(readFile(module),
              crlf({"Sub Save()", "10     Dim x As Long", "20 x = 1", "30 Beep", "End Sub"}));
    expectIdleAfterPass(program);
}

TEST(PassesWindow, filesThatCannotBeProcessed_areNamedOnceAfterTheCommand) {
    RunningProgram program;
    const auto locked = program.write("proj/Locked.frm", kFormText);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read);
    const auto good = program.write("proj/Good.frm", kFormText);
    program.openProject(program.write(
        "proj/P.vbp", crlf({"Form=Good.frm", "Form=Locked.frm", "Module=M; Missing.bas"})));

    program.click("cmd_tbl_2");

    ASSERT_EQ(program.messages().texts.size(), 1u);
    const QString text = program.messages().texts[0];
    EXPECT_EQ(program.messages().icons[0], MessageIcon::Warning);
    EXPECT_EQ(text.count(QStringLiteral("Locked.frm")), 1);
    EXPECT_EQ(text.count(QStringLiteral("Missing.bas")), 1);
    EXPECT_FALSE(text.contains(QStringLiteral("Good.frm")));
    EXPECT_EQ(readFile(locked), kFormText);
    EXPECT_FALSE(std::filesystem::exists(program.folder() / "proj" / "Missing.bas"));
    EXPECT_NE(readFile(good), kFormText);
    expectIdleAfterPass(program);

    // Remove runs one pass and says the same once more.
    program.click("cmd_tbl_4");
    EXPECT_EQ(program.messages().texts.size(), 2u);
}

// The core asks; the window's message boxes show the question and give
// back the answer.
TEST(PassesWindow, aFileOutsideTheProjectsFolder_isWrittenOnlyAfterYes) {
    RunningProgram program;
    const auto shared = program.write("Shared/S.bas", kModuleText);
    program.openProject(program.write("proj/P.vbp", crlf({"Module=S; ..\\Shared\\S.bas"})));

    program.click("cmd_tbl_2");
    ASSERT_EQ(program.messages().questions.size(), 1u);
    EXPECT_TRUE(program.messages().questions[0].contains(QStringLiteral("..\\Shared\\S.bas, at ")));
    EXPECT_EQ(readFile(shared), kModuleText);

    program.messages().answers.push_back(true);
    program.click("cmd_tbl_2");
    EXPECT_NE(readFile(shared), kModuleText);
    program.trigger("mnu_f_10");
    EXPECT_EQ(program.messages().questions.size(), 2u);
    EXPECT_TRUE(program.messages().texts.empty());
}

TEST(PassesWindow, fileOverTheLineLimit_showsTheMessageWithoutIcon) {
    RunningProgram program;
    std::string big;
    for (int i = 0; i < 32001; ++i)
        big += "Sub A()\r\n";
    program.write("proj/Big.bas", big);
    program.openProject(program.write("proj/P.vbp", crlf({"Module=Big; Big.bas"})));

    program.click("cmd_tbl_2");

    ASSERT_EQ(program.messages().texts.size(), 1u);
    EXPECT_EQ(program.messages().texts[0],
              "The file Big.bas has exceeded 32000 lines of code!  Error handling cannot be "
              "inserted for the rest of this file.  Please reduce the number lines in this file "
              "and try again.");
    EXPECT_EQ(program.messages().icons[0], MessageIcon::None);
}

TEST(PassesWindow, selectNoneThenRemove_changesNoFile) {
    RunningProgram program;
    const SmallProject p = writeSmallProject(program);
    program.openProject(p.project);
    program.click("cmd_tbl_2");
    const std::string inserted = readFile(p.form);

    program.click("cmd_sel_1");
    ProjectFilesTree& list = program.window().form1().List1();
    for (int i = 0; i < list.entryCount(); ++i)
        EXPECT_EQ(list.entry(i)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    program.click("cmd_tbl_4");
    EXPECT_EQ(readFile(p.form), inserted);

    program.click("cmd_sel_0");
    for (int i = 0; i < list.entryCount(); ++i)
        EXPECT_EQ(list.entry(i)->checkState(0), Qt::Checked);
    EXPECT_EQ(list.currentEntry(), -1);
}

TEST(PassesWindow, insertBeforeAnyProject_runsOverTheEmptyList) {
    RunningProgram program;
    WindowWatcher watcher(program.window());
    program.window().projectFiles().setFeedback(&watcher);
    program.trigger("mnu_f_2");
    ASSERT_EQ(watcher.looks.size(), 4u);
    EXPECT_EQ(watcher.looks[2].caption, "Inserting Error Handling Code");
    // A range with no room in it is refused; the bar keeps what it had.
    EXPECT_EQ(watcher.looks[2].barMaximum, 100);
    expectIdleAfterPass(program);
    EXPECT_TRUE(program.messages().texts.empty());
    program.window().projectFiles().setFeedback(nullptr);
}

// The whole road on a generated project of a realistic shape.
TEST(PassesWindow, generatedProject_insertThenRemoveRoundTrips) {
    RunningProgram program;
    const auto folder = program.folder() / "gen";
    const std::filesystem::path project = testing::generateVbProject(folder, {12, 300, 1});
    std::map<std::filesystem::path, std::string> before;
    for (const auto& file : std::filesystem::recursive_directory_iterator(folder))
        if (file.is_regular_file() && file.path() != project)
            before[file.path()] = readFile(file.path());
    program.openProject(project);
    EXPECT_EQ(program.window().form1().List1().entryCount(), 12);

    program.click("cmd_tbl_2");
    int rewritten = 0;
    for (const auto& [path, bytes] : before)
        rewritten += readFile(path) != bytes;
    EXPECT_EQ(rewritten, 12);

    program.click("cmd_tbl_4");
    for (const auto& [path, bytes] : before)
        EXPECT_EQ(readFile(path), bytes) << path;
    EXPECT_TRUE(program.messages().texts.empty());
}

} // namespace
} // namespace faultward::uitest

namespace faultward::uitest {
namespace {

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
    int paints = 0;
};

// A pass sets the bar for every file but paints it only now and then; the
// final state still shows once the pass is over.
TEST(PassesWindow, longPass_paintsTheBarAtMostEveryPaintIntervalAndEndsExact) {
    RunningProgram program;
    std::string project;
    for (int i = 0; i < 3000; ++i)
        project += "Module=M; Missing" + std::to_string(10000 + i) + ".bas\r\n";
    program.openProject(program.write("p/P.vbp", project));
    program.click("cmd_sel_1");
    QProgressBar& bar = program.window().form1().ProgressBar1();
    // The window paints only once the display has shown it.
    for (int i = 0; i < 10 && !program.window().windowHandle()->isExposed(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(program.window().windowHandle()->isExposed());
    PaintCounter counter;
    bar.installEventFilter(&counter);
    QElapsedTimer timer;
    timer.start();
    program.click("cmd_tbl_4");
    const qint64 elapsed = timer.elapsed();
    bar.removeEventFilter(&counter);

    const qint64 paceLimit = elapsed / MDIForm1::kPaintInterval.count() + 1;
    // Two captions paint the whole window at once, start and end.
    EXPECT_LE(counter.paints, paceLimit + 2) << "in " << elapsed << " ms";
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(bar.value(), 2999);
    EXPECT_EQ(program.window().windowTitle(), "Faultward- Task Completed");
}

} // namespace
} // namespace faultward::uitest

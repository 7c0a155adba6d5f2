#include "app/desktop/project_files_logic.h"
#include "ui/form1.h"
#include "ui/path_label.h"
#include "ui/project_files_tree.h"
#include "ui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

namespace faultward::uitest {
namespace {

std::vector<bool> modeChecks(MDIForm1& window) {
    std::vector<bool> checks;
    for (int i = 0; i < 3; ++i)
        checks.push_back(
            window.findChild<QAction*>(QStringLiteral("mnu_o_%1").arg(i))->isChecked());
    return checks;
}

TEST(MainWindow, startWithoutSettingsFile_usesDefaultsAndShowsEmptyProjectWindow) {
    RunningProgram program;
    EXPECT_EQ(program.module().Project_File(), "");
    EXPECT_EQ(program.module().Error_Flag(), HandlingMode::ShowMessage);
    EXPECT_EQ(modeChecks(program.window()), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(program.window().windowTitle(), "Faultward");

    Form1& form = program.window().form1();
    EXPECT_EQ(form.List1().entryCount(), 0);
    EXPECT_EQ(form.lbl_proh().text(), "Project Files:");
    EXPECT_FALSE(form.ProgressBar1().isVisible());
    EXPECT_TRUE(form.cmd_tbl(0).isEnabled());
    EXPECT_FALSE(form.cmd_tbl(2).isEnabled());
    EXPECT_FALSE(form.cmd_tbl(4).isEnabled());
    EXPECT_TRUE(form.cmd_tbl(7).isEnabled());
    EXPECT_FALSE(std::filesystem::exists(program.settingsFile()));
}

TEST(MainWindow, storedMode_checksItsItemOrNoneWhenOutOfRange) {
    struct Case {
        const char* stored;
        std::int16_t mode;
        std::vector<bool> checks;
    };
    const Case cases[] = {
        {"2", 2, {false, false, true}},    {"1.5", 2, {false, false, true}},
        {"abc", 0, {true, false, false}},  {"7", 7, {false, false, false}},
        {"-1", -1, {false, false, false}},
    };
    for (const Case& c : cases) {
        RunningProgram program(
            crlf({"[OS]", "Project_File=/p/A.vbp", std::string("Error_Flag=") + c.stored}));
        EXPECT_EQ(program.module().Error_Flag(), handlingModeOf(c.mode)) << c.stored;
        EXPECT_EQ(modeChecks(program.window()), c.checks) << c.stored;
        EXPECT_EQ(program.module().Project_File(), "/p/A.vbp");
    }
}

TEST(MainWindow, menus_haveCaptionsSeparatorsAndNoShortcuts) {
    RunningProgram program;
    const std::pair<const char*, const char*> items[] = {
        {"mnu_0", "&File"},
        {"mnu_f_0", "&Open Visual Basic Project"},
        {"mnu_f_15", "Open &Folder of Modules..."},
        {"mnu_f_1", ""},
        {"mnu_f_2", "&Insert Error Handling Code"},
        {"mnu_f_3", ""},
        {"mnu_f_4", "&Remove Error Handling Code"},
        {"mnu_f_5", ""},
        {"mnu_f_9", "Add &Line Numbers"},
        {"mnu_f_10", "Remove Line &Numbers"},
        {"mnu_f_11", ""},
        {"mnu_f_12", "Pre&view Insertion..."},
        {"mnu_f_13", "&Check Project..."},
        {"mnu_f_14", ""},
        {"mnu_f_6", "E&xit"},
        {"mnu_1", "O&ptions"},
        {"mnu_o_0", "Halt on Errors and Display in Message Box"},
        {"mnu_o_1", "Ignore Errors and Resume Next"},
        {"mnu_o_2", "Centralize Error Handling with I_Process_Errors Sub"},
        {"mnu_o_3", ""},
        {"mnu_o_4", "Handler &Settings..."},
        {"mnu_2", "&Help"},
        {"mnu_h_0", "I&ndex"},
        {"mnu_h_1", ""},
        {"mnu_h_2", "&About"},
    };
    for (const auto& [name, caption] : items) {
        auto* action = program.window().findChild<QAction*>(QString::fromUtf8(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), QString::fromUtf8(caption)) << name;
        EXPECT_EQ(action->isSeparator(), *caption == '\0') << name;
        EXPECT_TRUE(action->shortcut().isEmpty()) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
    }
    auto* file = program.window().findChild<QMenu*>(QStringLiteral("mnu_0"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->actions().size(), 14);
}

TEST(MainWindow, choosingMode_keepsExactlyOneItemChecked) {
    RunningProgram program;
    program.trigger("mnu_o_2");
    EXPECT_EQ(modeChecks(program.window()), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(program.module().Error_Flag(), HandlingMode::CentralHandler);
    // Choosing the marked item again must not clear it.
    program.trigger("mnu_o_2");
    EXPECT_EQ(modeChecks(program.window()), (std::vector<bool>{false, false, true}));
    program.trigger("mnu_o_1");
    EXPECT_EQ(modeChecks(program.window()), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(program.module().Error_Flag(), HandlingMode::ResumeNext);
}

TEST(MainWindow, closingWindow_savesProjectModeAndPlace) {
    RunningProgram program;
    const auto project = program.write("proj/P.vbp", crlf({"Form=F.frm"}));
    program.openProject(project);
    program.trigger("mnu_o_2");
    program.window().move(40, 30);
    program.window().resize(500, 400);
    program.window().close();
    EXPECT_EQ(readFile(program.settingsFile()),
              crlf({"[OS]", "Project_File=" + project.string(), "Error_Flag=2", "", "[Window]",
                    "Left=40", "Top=30", "Width=500", "Height=400", "Maximized=0"}));
}

// A place off the screens of today comes back onto the screen; maximized,
// the window keeps its normal size for later.
TEST(MainWindow, storedPlace_isBroughtOntoTheScreen_andMaximizedComesBack) {
    RunningProgram program(
        crlf({"[Window]", "Left=-3000", "Top=20", "Width=100", "Height=400", "Maximized=1"}));
    MDIForm1& window = program.window();
    QApplication::processEvents();
    EXPECT_TRUE(window.isMaximized());
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_EQ(window.normalGeometry(), QRect(screen.left(), 20, 317, 400));
    window.close();
    EXPECT_NE(readFile(program.settingsFile())
                  .find(crlf({"Left=" + std::to_string(screen.left()), "Top=20", "Width=317",
                              "Height=400", "Maximized=1"})),
              std::string::npos)
        << readFile(program.settingsFile());
}

TEST(MainWindow, exit_endsAtOnceWithoutSaving) {
    const std::string stored = crlf({"[OS]", "Project_File=/old/A.vbp", "Error_Flag=0"});
    RunningProgram program(stored);
    program.trigger("mnu_o_1");
    program.trigger("mnu_f_6");
    EXPECT_EQ(program.terminations(), 1);
    EXPECT_EQ(readFile(program.settingsFile()), stored);
}

// The first size is the form's, and the least; grown, the list takes the room
// while the tool row and the Select buttons keep their distance to the edges.
TEST(MainWindow, window_growsFromItsFirstSize_theListTakesTheRoom) {
    RunningProgram program;
    MDIForm1& window = program.window();
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    auto* client = window.findChild<QMdiArea*>();
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(client->size(), QSize(317, 309));
    EXPECT_EQ(window.size(), window.minimumSizeHint());
    Form1& form = window.form1();
    EXPECT_EQ(form.size(), QSize(316, 313));
    EXPECT_EQ(form.parentWidget()->pos(), QPoint(0, 0));

    // Where a part lies in the main window, and its distance to the bottom.
    const auto inWindow = [&](const QWidget& part) {
        return QRect(part.mapTo(&window, QPoint(0, 0)), part.size());
    };
    const auto fromBottom = [&](const QWidget& part) {
        return window.height() - inWindow(part).bottom();
    };
    QPushButton& selectNone = *form.findChild<QPushButton*>(QStringLiteral("cmd_sel_1"));
    const QRect list = inWindow(form.List1());
    const QRect help = inWindow(form.cmd_tbl(7));
    const QRect selectNoneAt = inWindow(selectNone);
    const int selectNoneFromBottom = fromBottom(selectNone);
    const int listToRight = window.width() - list.right();

    const auto expectGrown = [&](const char* how) {
        const QRect grown = inWindow(form.List1());
        EXPECT_EQ(grown.topLeft(), list.topLeft()) << how;
        EXPECT_EQ(window.width() - grown.right(), listToRight) << how;
        EXPECT_EQ(grown.height() - list.height(), window.height() - 328) << how;
        EXPECT_EQ(inWindow(form.cmd_tbl(7)), help) << how;
        EXPECT_EQ(inWindow(selectNone).left(), selectNoneAt.left()) << how;
        EXPECT_EQ(fromBottom(selectNone), selectNoneFromBottom) << how;
        EXPECT_EQ(form.lbl_proh().width(), grown.width()) << how;
    };
    window.resize(700, 520);
    QApplication::processEvents();
    expectGrown("resized");

    window.showMaximized();
    QApplication::processEvents();
    EXPECT_TRUE(window.isMaximized());
    EXPECT_GT(window.width(), 700);
    expectGrown("maximized");

    // Never smaller than the first size.
    window.showNormal();
    window.resize(200, 200);
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(317, 328));
    EXPECT_EQ(inWindow(form.List1()), list);
}

TEST(MainWindow, projectFilesWindow_cannotBeClosedOnItsOwn) {
    RunningProgram program;
    QWidget* frame = program.window().form1().parentWidget();
    EXPECT_FALSE(frame->close());
    QApplication::processEvents();
    EXPECT_TRUE(program.window().form1().isVisible());
    program.openProject(program.write("p/P.vbp", crlf({"Form=F.frm"})));
    EXPECT_EQ(program.window().form1().List1().entryCount(), 1);
}

TEST(MainWindow, toolRow_hasItsGeometryTooltipsAndPictures) {
    RunningProgram program;
    Form1& form = program.window().form1();
    const struct {
        int index;
        QRect geometry;
        const char* caption;
        const char* tooltip;
        QSize picture;
    } buttons[] = {
        {0, {0, 0, 73, 57}, "Open Visual Basic Project", "", {24, 23}},
        {2, {72, 0, 81, 57}, "Insert Error- Handling Code", "Insert Error Handling Code", {24, 23}},
        {4,
         {152, 0, 81, 57},
         "Remove Error- Handling Code",
         "Remove Error Handling Code",
         {24, 23}},
        {7, {232, 0, 81, 57}, "Help", "Help", {32, 32}},
    };
    for (const auto& b : buttons) {
        QPushButton& button = form.cmd_tbl(b.index);
        EXPECT_EQ(button.objectName(), QStringLiteral("cmd_tbl_%1").arg(b.index));
        EXPECT_EQ(button.geometry(), b.geometry) << b.index;
        EXPECT_EQ(button.text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(button.toolTip(), QString::fromUtf8(b.tooltip));
        EXPECT_EQ(button.icon().availableSizes().value(0), b.picture) << b.index;
    }
    EXPECT_EQ(form.lbl_proh().geometry(), QRect(8, 64, 297, 17));
    EXPECT_EQ(form.ProgressBar1().geometry(), QRect(9, 61, 295, 16));
    EXPECT_EQ(form.List1().geometry(), QRect(8, 80, 297, 184));
}

// Counts the F1 presses that reach a window: an unhandled key travels from
// the focus widget up to its window.
class F1Counter : public QObject {
public:
    int presses = 0;
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 && receiver->isWidgetType() &&
            static_cast<QWidget*>(receiver)->isWindow())
            ++presses;
        return false;
    }
};

TEST(MainWindow, helpButtonAndHelpIndex_sendF1) {
    RunningProgram program;
    F1Counter counter;
    qApp->installEventFilter(&counter);
    program.click("cmd_tbl_7");
    QApplication::processEvents();
    EXPECT_EQ(counter.presses, 1);
    program.trigger("mnu_h_0");
    QApplication::processEvents();
    EXPECT_EQ(counter.presses, 2);
    qApp->removeEventFilter(&counter);
}

TEST(MainWindow, helpAbout_showsTheAboutWindow) {
    RunningProgram program;
    EXPECT_EQ(program.about().loaded(), nullptr);
    program.trigger("mnu_h_2");
    ASSERT_NE(program.about().loaded(), nullptr);
    EXPECT_TRUE(program.about().loaded()->isVisible());
}

} // namespace
} // namespace faultward::uitest

namespace faultward::uitest {
namespace {

using Calls = std::vector<std::string>;

// Remembers how many cue calls had been made when each pass began.
class PassStartWatcher : public PassFeedback {
public:
    PassStartWatcher(MDIForm1& window, const Calls& calls)
        : PassFeedback(window, window.form1()), calls_(calls) {}
    void passStarted(PassKind kind, int minimum, int maximum) override {
        PassFeedback::passStarted(kind, minimum, maximum);
        callsBefore.push_back(calls_.size());
    }
    std::vector<std::size_t> callsBefore;

private:
    const Calls& calls_;
};

TEST(CommandSounds, clickComesFirstForEveryCommand_chimeOnlyAfterInsertAndRemove) {
    RunningProgram program;
    program.openProject(program.write("p/P.vbp", crlf({"Module=M; M.bas"})));
    program.write("p/M.bas", crlf({"Sub A()", "End Sub"}));
    Calls& calls = program.sound().calls;
    for (const char* item : {"mnu_f_6", "cmd_tbl_7"}) {
        calls.clear();
        item[0] == 'm' ? program.trigger(item) : program.click(item);
        EXPECT_EQ(calls, Calls{"play 11"}) << item;
    }
    for (int idle : {1, 3, 5, 8}) {
        calls.clear();
        program.window().cmd_nav(commandOfNumber(idle));
        EXPECT_EQ(calls, Calls{"play 11"}) << idle;
    }
    calls.clear();
    program.dialog().answers.push_back(std::nullopt);
    program.click("cmd_tbl_0");
    EXPECT_EQ(calls, Calls{"play 11"});

    PassStartWatcher watcher(program.window(), calls);
    program.window().projectFiles().setFeedback(&watcher);
    for (const char* command : {"cmd_tbl_2", "mnu_f_4"}) {
        calls.clear();
        watcher.callsBefore.clear();
        command[0] == 'c' ? program.click(command) : program.trigger(command);
        EXPECT_EQ(calls, (Calls{"play 11", "stop", "play 12"})) << command;
        // The cue is stopped before the first pass begins.
        ASSERT_FALSE(watcher.callsBefore.empty());
        EXPECT_EQ(watcher.callsBefore.front(), 2u) << command;
    }
    program.window().projectFiles().setFeedback(nullptr);

    calls.clear();
    program.trigger("mnu_o_1");
    program.trigger("mnu_h_1");
    EXPECT_TRUE(calls.empty());
}

TEST(CommandSounds, clickCueThatFailsToStart_endsTheCommandBeforeItsDispatch) {
    RunningProgram program;
    const auto source = program.write("p/M.bas", crlf({"Sub A()", "End Sub"}));
    program.openProject(program.write("p/P.vbp", crlf({"Module=M; M.bas"})));
    program.sound().calls.clear();
    program.sound().clickFails = true;
    program.click("cmd_tbl_2");
    program.trigger("mnu_f_6");
    EXPECT_EQ(readFile(source), crlf({"Sub A()", "End Sub"}));
    EXPECT_EQ(program.terminations(), 0);
    EXPECT_EQ(program.window().windowTitle(), "Faultward");
    EXPECT_TRUE(program.sound().calls.empty());
}

TEST(MainWindow, aboutOpensCentredOverTheMainWindow) {
    RunningProgram program;
    program.window().move(40, 30);
    program.trigger("mnu_h_2");
    const QWidget* about = program.about().loaded();
    ASSERT_NE(about, nullptr);
    const QPoint offset =
        about->frameGeometry().center() - program.window().frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
}

} // namespace
} // namespace faultward::uitest

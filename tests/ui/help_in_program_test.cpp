#include "ui/frmAbout.h"
#include "ui/help_key.h"
#include "ui/help_window.h"
#include "ui/project_files_tree.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <functional>

namespace faultward::uitest {
namespace {

using about::frmAbout;
using help::HelpWindow;

// The program as main() wires it: the About hook and the help file beside
// the executable (the build puts it beside the tests too).
class HelpInTheProgram : public ::testing::Test {
protected:
    void SetUp() override { QCoreApplication::instance()->installEventFilter(&key); }
    void TearDown() override {
        for (QWidget* window : {static_cast<QWidget*>(HelpWindow::loaded()),
                                static_cast<QWidget*>(program.about().loaded())})
            if (window)
                window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void expectHelpWindowOpen() {
        HelpWindow* help = HelpWindow::loaded();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->file(), help::defaultHelpFilePath());
        EXPECT_TRUE(help->browser()->toPlainText().contains("Faultward Help"));
        EXPECT_TRUE(program.messages().texts.empty());
    }

    RunningProgram program;
    help::HelpKey key{help::defaultHelpFilePath(), program.messages()};
};

TEST_F(HelpInTheProgram, f1InTheFileList_opensTheHelpWindow) {
    auto* list = program.window().findChild<ProjectFilesTree*>("List1");
    ASSERT_NE(list, nullptr);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(list, &press);
    expectHelpWindowOpen();
}

TEST_F(HelpInTheProgram, helpButton_opensTheHelpWindow) {
    program.click("cmd_tbl_7");
    QApplication::processEvents();
    expectHelpWindowOpen();
}

TEST_F(HelpInTheProgram, helpIndex_opensTheHelpWindow) {
    program.trigger("mnu_h_0");
    QApplication::processEvents();
    expectHelpWindowOpen();
}

// Open makes the project's folder the current one; the help stays found.
TEST_F(HelpInTheProgram, afterOpeningAProjectInAnotherFolder_f1HelpIndexAndTheButtonOpenTheHelp) {
    const std::filesystem::path project =
        program.write("elsewhere/P.vbp", crlf({"Module=M; M.bas"}));
    program.write("elsewhere/M.bas", kOneSubSource);
    program.openProject(project);
    ASSERT_EQ(std::filesystem::current_path(), project.parent_path());
    EXPECT_TRUE(QFileInfo(key.helpFile()).isAbsolute());

    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(program.window().findChild<ProjectFilesTree*>("List1"), &press);
    expectHelpWindowOpen();
    for (const std::function<void()>& ask :
         {std::function<void()>([&] { program.trigger("mnu_h_0"); }),
          std::function<void()>([&] { program.click("cmd_tbl_7"); })}) {
        HelpWindow::loaded()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ask();
        QApplication::processEvents();
        expectHelpWindowOpen();
    }
}

TEST_F(HelpInTheProgram, helpAbout_showsTheAboutWindowOnce) {
    program.trigger("mnu_h_2");
    frmAbout* about = program.about().loaded();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), "About Faultward");
    program.trigger("mnu_h_2");
    EXPECT_EQ(program.about().loaded(), about);
}

TEST_F(HelpInTheProgram, f1InTheAboutWindow_opensTheHelpWindowToo) {
    program.trigger("mnu_h_2");
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(program.about().loaded(), &press);
    expectHelpWindowOpen();
}

} // namespace
} // namespace faultward::uitest

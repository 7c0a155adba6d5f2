#include "support/fake_registry.h"
#include "ui/desktop_sys_info_platform.h"
#include "ui/dialog_frame.h"
#include "ui/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace faultward::about {
namespace {

QPushButton* button(QWidget* window, int index) {
    return window->findChild<QPushButton*>(QStringLiteral("cmd_abt_%1").arg(index));
}

QString labelText(QWidget* window, const char* name) {
    auto* label = window->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
}

// A registry that names a program, and a start that only counts.
class CountingPlatform final : public SysInfoPlatform {
public:
    explicit CountingPlatform(int& starts) : starts_(starts) {
        registry_.set("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", kRegSz,
                      testing::storedString("/usr/bin/sysinfo"));
    }
    Registry& registry() override { return registry_; }
    std::optional<std::string> findOrdinaryFile(const std::string&) override { return {}; }
    bool startProgram(const std::string&) override { return ++starts_, true; }
    void showUnavailable() override {}

private:
    int& starts_;
    testing::FakeRegistry registry_;
};

// The next widget that Tab reaches after from.
QWidget* nextTabStop(QWidget* from) {
    for (QWidget* next = from->nextInFocusChain(); next != from; next = next->nextInFocusChain())
        if (next->focusPolicy() & Qt::TabFocus)
            return next;
    return from;
}

class AboutWindow : public ::testing::Test {
protected:
    void TearDown() override { unload(); }
    void unload() {
        if (frmAbout* window = about.loaded())
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    int starts = 0;
    CountingPlatform platform{starts};
    AboutBox about{platform};
};

TEST_F(AboutWindow, showsCaptionTitleAndVersionFromTheBuild) {
    frmAbout* window = about.show();
    EXPECT_EQ(window->windowTitle(), "About Faultward");
    EXPECT_EQ(labelText(window, "lblTitle"), "Faultward");
    EXPECT_EQ(labelText(window, "lblVersion"), "Version 1.0.11");

    const QFont title = window->findChild<QLabel*>("lblTitle")->font();
    EXPECT_TRUE(title.bold());
    EXPECT_DOUBLE_EQ(title.pointSizeF(), 11.25);
    EXPECT_EQ(window->size(), QSize(376, 240));
}

TEST_F(AboutWindow, buttonsHaveTheirCaptionsAndSystemInfoComesFirstInTabOrder) {
    frmAbout* window = about.show();
    QPushButton* close = button(window, 1);
    QPushButton* sysInfo = button(window, 2);
    ASSERT_TRUE(close && sysInfo);
    EXPECT_EQ(close->text(), "Close");
    EXPECT_EQ(sysInfo->text(), "&System Info...");
    EXPECT_EQ(nextTabStop(sysInfo), close);
    EXPECT_FALSE(close->isDefault() || close->autoDefault());
    EXPECT_FALSE(sysInfo->isDefault() || sysInfo->autoDefault());
    EXPECT_EQ(sysInfo->geometry(), QRect(280, 40, 83, 23));
}

TEST_F(AboutWindow, isLoadedOnceAndCloseUnloadsItForAFreshLoad) {
    frmAbout* first = about.show();
    EXPECT_EQ(about.show(), first);
    EXPECT_TRUE(first->isVisible());

    button(first, 1)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(about.loaded(), nullptr);

    frmAbout* second = about.show();
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(labelText(second, "lblVersion"), "Version 1.0.11");
}

TEST_F(AboutWindow, systemInfoButton_startsTheProgramEachTimeAndStaysOpen) {
    frmAbout* window = about.show();
    button(window, 2)->click();
    button(window, 2)->click();
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(about.loaded(), window);
    EXPECT_TRUE(window->isVisible());
}

TEST(SysInfoMessage, isOkOnlyWithoutIconUnderTheProgramTitle) {
    const auto box = makeUnavailableMessage(nullptr);
    EXPECT_EQ(box->windowTitle(), "Faultward");
    EXPECT_EQ(box->text(), "System Information Is Unavailable At This Time");
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->windowFlags(), kFixedDialogFrame);
}

// The main window of the program is any other top-level window; closing it
// while the About window is open must not end the program.
TEST_F(AboutWindow, programRunsOnUntilAboutClosesAfterTheMainWindow) {
    auto* mainWindow = new QWidget;
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    mainWindow->show();
    about.show();

    bool ranAfterMainClosed = false;
    bool timedOut = false;
    QTimer::singleShot(0, mainWindow, [mainWindow] { mainWindow->close(); });
    QTimer::singleShot(100, qApp, [&] {
        ranAfterMainClosed = about.loaded() && about.loaded()->isVisible();
        unload();
    });
    QTimer::singleShot(5000, qApp, [&] {
        timedOut = true;
        QCoreApplication::quit();
    });
    QApplication::exec();

    EXPECT_TRUE(ranAfterMainClosed);
    EXPECT_FALSE(timedOut); // closing the About window ended the program
}

} // namespace
} // namespace faultward::about

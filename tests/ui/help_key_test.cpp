#include "support/temp_folder.h"
#include "ui/help_key.h"
#include "ui/help_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace faultward::help {
namespace {

void unloadHelp() {
    if (HelpWindow* window = HelpWindow::loaded())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Keeps the texts of the message boxes instead of showing them.
class NoticeList final : public MessageBoxes {
public:
    explicit NoticeList(QStringList& texts) : texts_(texts) {}
    void showMessage(QWidget*, const QString& text, MessageIcon, const QString&) override {
        texts_ << text;
    }
    bool askYesNo(QWidget*, const QString&) override { return false; }

private:
    QStringList& texts_;
};

class HelpKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        helpFile = folder.write("help.html", "<html><body><h1>Sample help</h1></body></html>");
        useHelpFile(QString::fromStdString(helpFile.string()));
    }
    void TearDown() override { unloadHelp(); }

    // Installs a key for the file as the program does, for every window.
    void useHelpFile(const QString& path) {
        key = std::make_unique<HelpKey>(path, noticeBoxes);
        QCoreApplication::instance()->installEventFilter(key.get());
    }

    faultward::testing::TempFolder folder;
    std::filesystem::path helpFile;
    QStringList notices;
    NoticeList noticeBoxes{notices};
    std::unique_ptr<HelpKey> key;
};

void pressF1(QWidget* target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

TEST_F(HelpKeyTest, f1InAnyWidget_opensTheHelpFileInTheHelpWindow) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    window.show();

    pressF1(edit);

    HelpWindow* help = HelpWindow::loaded();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->browser()->source().toLocalFile(), QString::fromStdString(helpFile.string()));
    EXPECT_TRUE(help->browser()->toPlainText().contains("Sample help"));
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(HelpKeyTest, f1PostedToAWindow_opensHelpWhenTheEventLoopGetsToIt) {
    QWidget window;
    window.show();
    QCoreApplication::postEvent(&window,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
    EXPECT_EQ(HelpWindow::loaded(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_NE(HelpWindow::loaded(), nullptr);
}

TEST_F(HelpKeyTest, f1Again_reusesTheOneHelpWindow) {
    QWidget window;
    window.show();
    pressF1(&window);
    HelpWindow* first = HelpWindow::loaded();
    pressF1(first);
    pressF1(&window);
    EXPECT_EQ(HelpWindow::loaded(), first);
    int helpWindows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        helpWindows += widget->objectName() == "HelpWindow" ? 1 : 0;
    EXPECT_EQ(helpWindows, 1);
}

TEST_F(HelpKeyTest, missingFile_saysSoNamingThePathAndOpensNoWindow) {
    const QString missing =
        QString::fromStdString((folder / "gone" / "faultwardhelp.html").string());
    useHelpFile(missing);

    QWidget window;
    window.show();
    pressF1(&window);

    EXPECT_EQ(HelpWindow::loaded(), nullptr);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(missing)) << notices[0].toStdString();
}

TEST_F(HelpKeyTest, aSectionOpensTheHelpFileAtItsAnchor_inTheOneWindow) {
    HelpKeySender sender(key.get());
    sender.showHelpSection("handlersettings");
    HelpWindow* help = HelpWindow::loaded();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->browser()->source().toLocalFile(), QString::fromStdString(helpFile.string()));
    EXPECT_EQ(help->browser()->source().fragment(), "handlersettings");

    sender.showHelpSection("settings");
    EXPECT_EQ(HelpWindow::loaded(), help);
    EXPECT_EQ(help->browser()->source().fragment(), "settings");
    EXPECT_TRUE(notices.isEmpty());
}

} // namespace
} // namespace faultward::help

#include "app/texts/texts.h"
#include "ui/dialog_frame.h"
#include "ui/file_dialog.h"
#include "ui/help_window.h"
#include "ui/message_boxes.h"
#include "ui/window_placement.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace faultward::uitest {
namespace {

TEST(HelpWindowPlacement, opensWhollyOnScreenBesideAMainWindowInTheCorner) {
    RunningProgram program;
    const QRect free = program.window().screen()->availableGeometry();
    program.window().move(free.right() - program.window().width(),
                          free.bottom() - program.window().height());
    help::HelpWindow* help =
        help::HelpWindow::showFile(help::defaultHelpFilePath(), &program.window());
    ASSERT_NE(help, nullptr);
    const QRect frame = help->frameGeometry();
    EXPECT_TRUE(free.contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height() << " on "
        << free.width() << "x" << free.height();
    help->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(FileDialogFilters, allFilesMatchesNamesWithoutADot_severalPatternsAreSeparatedBySpaces) {
    EXPECT_EQ(
        qtNameFilters(QString::fromUtf8(kProjectFilter.data(),
                                        static_cast<qsizetype>(kProjectFilter.size()))),
        (QStringList{"All Files (*)", "Visual Basic Project Files(*.vbp)",
                     "Visual Basic Projects and Groups (*.vbp *.vbg)", "Visual Basic Group (*.vbg)",
                     "Office Documents with Macros (*.xlsm *.xlsb *.xltm *.xlam *.xls *.xla "
                     "*.xlt *.docm *.dotm *.doc *.dot *.pptm *.potm *.ppsm *.ppam)"}));
    EXPECT_EQ(qtNameFilters(QStringLiteral("Text|*.txt")), QStringList{"Text (*.txt)"});
}

TEST(AboutWindowLook, buttonsUseTheSmallDialogFaceAndTheWindowHasNoMinOrMaxBox) {
    RunningProgram program;
    program.trigger("mnu_h_2");
    QWidget* about = program.about().loaded();
    ASSERT_NE(about, nullptr);
    for (const char* name : {"cmd_abt_1", "cmd_abt_2", "lblMaker1", "lblRights"}) {
        const QWidget* control = about->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_DOUBLE_EQ(control->font().pointSizeF(), 8.25) << name;
    }
    EXPECT_FALSE(about->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(about->windowFlags() & Qt::WindowMaximizeButtonHint);
}

// The frame is named in full, so the platform adds no minimize or maximize
// box of its own.
TEST(MessageBoxLook, hasTheFixedDialogFrame) {
    OnNextModal modal([](QWidget& box) {
        EXPECT_EQ(box.windowFlags(), kFixedDialogFrame);
        box.close();
    });
    makeQtMessageBoxes()->showMessage(nullptr, QStringLiteral("Done."), MessageIcon::Warning);
    EXPECT_TRUE(modal.ran());
}

} // namespace
} // namespace faultward::uitest

#include "app/report_window.h"
#include "ui/report_dialog.h"
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace faultward::uitest {
namespace {

QStringList buttonsOf(const QWidget& window) {
    QStringList names;
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        names << button->objectName() + QLatin1Char('=') + button->text();
    return names;
}

TEST(ReportText, dropsCarriageReturnsAndShowsEachByteAsOneWindows1252Character) {
    EXPECT_EQ(reportText("a\r\nb\rc\n\xe9\x80\x9f\x81\xff"),
              QStringLiteral("a\nbc\n\u00e9\u20ac\u0178\u0081\u00ff"));
    EXPECT_EQ(reportText({"x\0y", 3}),
              QString(QStringLiteral("x") + QChar(0) + QStringLiteral("y")));
}

TEST(ReportDialog, showsTheTextReadOnlyFixedWidthUnwrapped_withTheCoresButtonsInOrder) {
    RunningProgram program;
    ReportWindow preview(ReportWindow::Kind::Preview, "--- a\r\n+++ b\r\n+caf\xe9\r\n",
                         program.window());
    ReportDialog window(preview, &program.window());
    EXPECT_EQ(window.windowTitle(), "Preview Insertion");
    auto* text = window.findChild<QPlainTextEdit*>(QStringLiteral("txt_report"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("--- a\n+++ b\n+caf\u00e9\n"));
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(text->font(), QFontDatabase::systemFont(QFontDatabase::FixedFont));
    EXPECT_EQ(buttonsOf(window),
              (QStringList{"cmd_insert=&Insert", "cmd_save_as=&Save As...", "cmd_close=Close"}));

    ReportWindow check(ReportWindow::Kind::Check, "", program.window());
    ReportDialog checkWindow(check, &program.window());
    EXPECT_EQ(checkWindow.windowTitle(), "Check Project");
    EXPECT_EQ(buttonsOf(checkWindow), (QStringList{"cmd_save_as=&Save As...", "cmd_close=Close"}));
}

TEST(ReportDialog, saveAs_writesTheTextsBytesThroughTheSaveDialog_andStaysOpen) {
    RunningProgram program;
    const std::string bytes = "--- a\r\n+++ b\r\n+caf\xe9\r\n";
    ReportWindow preview(ReportWindow::Kind::Preview, bytes, program.window());
    ReportDialog window(preview, &program.window());
    window.show();
    const std::filesystem::path target = program.folder() / "saved.diff";
    program.dialog().answers.push_back(qpath(target));
    window.findChild<QAbstractButton*>(QStringLiteral("cmd_save_as"))->click();

    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(readFile(target), bytes);
    ASSERT_EQ(program.dialog().saveRequests.size(), 1u);
    const FileDialogRequest& request = program.dialog().saveRequests[0];
    EXPECT_EQ(request.filter.toStdString(), kDiffFilter);
    EXPECT_EQ(request.defaultExtension, "diff");
    EXPECT_TRUE(program.messages().texts.empty());
}

TEST(ReportDialog, insertAndCloseCloseTheWindow_escapeAsClose) {
    RunningProgram program;
    ReportWindow inserting(ReportWindow::Kind::Preview, "x", program.window());
    ReportDialog window(inserting, &program.window());
    window.show();
    window.findChild<QAbstractButton*>(QStringLiteral("cmd_insert"))->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(inserting.insertChosen());

    for (const bool escape : {false, true}) {
        ReportWindow closing(ReportWindow::Kind::Check, "x", program.window());
        ReportDialog other(closing, &program.window());
        other.show();
        if (escape)
            QTest::keyClick(other.textView(), Qt::Key_Escape);
        else
            other.findChild<QAbstractButton*>(QStringLiteral("cmd_close"))->click();
        EXPECT_FALSE(other.isVisible()) << escape;
        EXPECT_FALSE(closing.insertChosen());
    }
}

TEST(ReportDialog, checkProjectMenuItemShowsTheReportOverTheMainWindow) {
    RunningProgram program;
    const auto project = program.write("proj/P.vbp", crlf({"Type=Exe", "Module=Tools; Tools.bas"}));
    program.write("proj/Tools.bas", crlf({"Attribute VB_Name = \"Tools\"", "Public Sub Go()",
                                          "    Beep", "End Sub"}));
    program.openProject(project);
    QString shown;
    OnNextModal steps([&](QWidget& modal) {
        EXPECT_EQ(modal.windowTitle(), "Check Project");
        EXPECT_EQ(modal.parentWidget(), &program.window());
        shown = modal.findChild<QPlainTextEdit*>(QStringLiteral("txt_report"))->toPlainText();
        modal.findChild<QAbstractButton*>(QStringLiteral("cmd_close"))->click();
    });
    program.trigger("mnu_f_13");
    EXPECT_TRUE(steps.ran());
    EXPECT_TRUE(shown.contains(QLatin1String("Tools.bas"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QLatin1Char('\r')));
}

} // namespace
} // namespace faultward::uitest

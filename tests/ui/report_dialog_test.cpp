#include "app/desktop/report_window.h"
#include "app/reports/report_colours.h"
#include "ui/message_boxes.h"
#include "ui/report_dialog.h"
#include "ui/report_text_view.h"
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

namespace faultward::uitest {
namespace {

QStringList buttonsOf(const QWidget& window) {
    QStringList names;
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        names << button->objectName() + QLatin1Char('=') + button->text();
    return names;
}

TEST(CodePageText, eachByteOneWindows1252Character_orUtf8ForPeople) {
    EXPECT_EQ(decodedText({"\n\xe9\x80\x9f\x81\xff\xa0\0", 8}, TextEncoding::Windows1252),
              QString(QStringLiteral("\n\u00e9\u20ac\u0178\u0081\u00ff\u00a0") + QChar(0)));
    EXPECT_EQ(decodedText("caf\xc3\xa9", TextEncoding::Utf8), QStringLiteral("caf\u00e9"));
}

TEST(ReportDialog, showsTheTextReadOnlyFixedWidthUnwrapped_withTheCoresButtonsInOrder) {
    RunningProgram program;
    ReportWindow preview(ReportWindow::Kind::Preview, "--- a\r\n+++ b\r\n+caf\xe9\r\n",
                         program.window());
    ReportDialog window(preview, &program.window());
    EXPECT_EQ(window.windowTitle(), "Preview Insertion");
    auto* text = window.findChild<ReportTextView*>(QStringLiteral("txt_report"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("--- a\n+++ b\n+caf\u00e9\n"));
    EXPECT_EQ(text->font(), QFontDatabase::systemFont(QFontDatabase::FixedFont));
    EXPECT_EQ(buttonsOf(window),
              (QStringList{"cmd_insert=&Insert", "cmd_save_as=&Save As...", "cmd_close=Close"}));

    ReportWindow check(ReportWindow::Kind::Check, "", program.window());
    ReportDialog checkWindow(check, &program.window());
    EXPECT_EQ(checkWindow.windowTitle(), "Check Project");
    EXPECT_EQ(buttonsOf(checkWindow), (QStringList{"cmd_save_as=&Save As...", "cmd_close=Close"}));
}

TEST(ReportDialog, eachLineIsDrawnOnTheCoresBackgroundForItsKind_fromThePalette) {
    RunningProgram program;
    ReportWindow preview(ReportWindow::Kind::Preview,
                         "M.bas: +1 -0\n\n--- a/M.bas\n+++ b/M.bas\n@@ -1 +1,2 @@\n x\n+y\n",
                         program.window());
    ReportDialog window(preview, &program.window());
    QPalette dark = window.palette();
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(220, 220, 220));
    window.textView()->setPalette(dark);
    window.show();
    ReportTextView& view = *window.textView();
    ASSERT_EQ(view.lineCount(), preview.lines().size());
    // The last line selected: the palette's highlight behind it.
    view.select({6, 0}, {6, 2});
    const QImage picture = view.viewport()->grab().toImage();
    const auto seenAt = [&](QPoint point) {
        return picture.pixelColor(point * picture.devicePixelRatio());
    };
    for (std::size_t line = 0; line < preview.lines().size(); ++line) {
        const ReportLineKind kind = preview.lines()[line].kind;
        EXPECT_EQ(view.kindOf(line), kind);
        const Rgb expected = reportLineBackground(kind, {30, 30, 30}, {220, 220, 220});
        const QRect shown = view.cellRect({line, 0});
        // Right of the text, where only the background is.
        EXPECT_EQ(seenAt({picture.width() - 3, shown.center().y()}),
                  QColor(expected.red, expected.green, expected.blue))
            << line;
    }
    const QRect selected = view.cellRect({6, 1});
    EXPECT_EQ(seenAt({selected.left() + 1, selected.top() + 1}), dark.color(QPalette::Highlight));
}

TEST(MessageBoxes, aMessageWithDetailsShowsItsLeadAndEveryDetailWhole) {
    const QString details = QString(200, QLatin1Char('x')) + QStringLiteral(".bas: not found\n") +
                            QStringLiteral("B.bas: not found\n");
    const std::unique_ptr<QDialog> box =
        makeDetailsBox(nullptr, QStringLiteral("Could not be processed:\n\nxxx...x.bas: not found"),
                       MessageIcon::Warning, details);
    EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("lbl_text"))->text(),
              QStringLiteral("Could not be processed:"));
    auto* view = box->findChild<ReportTextView*>(QStringLiteral("txt_details"));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->toPlainText() + QLatin1Char('\n'), details);
    // Both lines in sight; the widest, past a hundred columns, scrolls.
    const int bar = box->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    EXPECT_EQ(view->size(), view->sizeForCells(100, 2) + QSize(0, bar));
    EXPECT_FALSE(box->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST(MessageBoxes, aChoiceIsAButtonBesideOkThatEndsTheBoxWithItsResult) {
    const std::unique_ptr<QDialog> box =
        makeDetailsBox(nullptr, QStringLiteral("Left:\n\nA.bas:1: Sub A"), MessageIcon::Warning,
                       QStringLiteral("A.bas:1: Sub A\n"), QStringLiteral("&Renumber Them"));
    auto* choice = box->findChild<QPushButton*>(QStringLiteral("cmd_choice"));
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->text(), QStringLiteral("&Renumber Them"));
    QTimer::singleShot(0, choice, &QPushButton::click);
    EXPECT_EQ(box->exec(), kChoiceResult);
    const std::unique_ptr<QDialog> plain = makeDetailsBox(
        nullptr, QStringLiteral("Left:"), MessageIcon::Warning, QStringLiteral("A\n"));
    EXPECT_EQ(plain->findChild<QPushButton*>(QStringLiteral("cmd_choice")), nullptr);
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
        shown = modal.findChild<ReportTextView*>(QStringLiteral("txt_report"))->toPlainText();
        modal.findChild<QAbstractButton*>(QStringLiteral("cmd_close"))->click();
    });
    program.trigger("mnu_f_13");
    EXPECT_TRUE(steps.ran());
    EXPECT_TRUE(shown.contains(QLatin1String("Tools.bas"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QLatin1Char('\r')));
}

} // namespace
} // namespace faultward::uitest

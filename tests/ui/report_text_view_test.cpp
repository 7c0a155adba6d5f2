// The Qt text view's wiring: its keys, mouse, wheel, context menu and
// clipboard reach the core's model, and a screen reader reads its text. What
// the caret and selection do is the model's, tested in tests/app.

#include "app/reports/report_lines.h"
#include "ui/report_text_view.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace faultward::uitest {
namespace {

// A report of so many lines "line N: word_N.x", in a view of 300 x 200
// pixels with the keyboard's focus.
struct ShownReport {
    explicit ShownReport(int count) {
        for (int line = 0; line < count; ++line)
            text += "line " + std::to_string(line) + ": word_" + std::to_string(line) + ".x\r\n";
        text += "caf\xe9\xa0";
        lines = ReportLines::ofReport(text);
        view.showReport(text, lines);
        view.resize(300, 200);
        view.show();
        view.activateWindow();
        view.setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
    }
    QPoint pointOf(std::size_t line, std::size_t offset) const {
        const QRect cell = view.cellRect({line, offset});
        return {cell.left(), cell.center().y()};
    }
    std::string text;
    ReportLines lines;
    ReportTextView view;
};

TEST(ReportTextView, keysMoveTheCaretAndShiftSelects_thePageTurnsAndTheViewFollowsTheCaret) {
    ShownReport shown(100);
    ReportTextView& view = shown.view;
    QScrollBar& bar = *view.verticalScrollBar();
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_End);
    QTest::keyClick(&view, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText(), QStringLiteral("line 1: word_1.x"));
    QTest::keyClick(&view, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText(), QStringLiteral("1: word_1.x"));

    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.model().caret().line, 1u + static_cast<std::size_t>(bar.pageStep()));
    EXPECT_EQ(bar.value(), bar.pageStep());
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.model().caret(), (TextPosition{100, 5}));
    EXPECT_EQ(bar.value(), bar.maximum());
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(bar.value(), 0);

    // Select All and Copy give the text as it shows, each break a line feed.
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), view.toPlainText());
    EXPECT_TRUE(view.toPlainText().startsWith(QStringLiteral("line 0: word_0.x\nline 1:")));
    // A no-break space stays one, as the file has it.
    EXPECT_TRUE(view.toPlainText().endsWith(QStringLiteral("x\ncaf\u00e9\u00a0")));
}

TEST(ReportTextView, aPressDragOrShiftClickSelects_aDoubleClickTakesAWord_theWheelAndSpaceScroll) {
    ShownReport shown(100);
    ReportTextView& view = shown.view;
    QWidget* area = view.viewport();
    QTest::mousePress(area, Qt::LeftButton, {}, shown.pointOf(1, 5));
    QTest::mouseMove(area, shown.pointOf(2, 4));
    QTest::mouseRelease(area, Qt::LeftButton, {}, shown.pointOf(2, 4));
    EXPECT_EQ(view.selectedText(), QStringLiteral("1: word_1.x\nline"));
    QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, shown.pointOf(1, 8));
    EXPECT_EQ(view.selectedText(), QStringLiteral("1: "));
    QTest::mouseDClick(area, Qt::LeftButton, {}, shown.pointOf(3, 10));
    EXPECT_EQ(view.selectedText(), QStringLiteral("word_3"));

    // Three lines a notch, down the text.
    QWheelEvent notch(QPointF(10, 10), area->mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &notch);
    EXPECT_EQ(view.verticalScrollBar()->value(), QApplication::wheelScrollLines());
    QTest::keyClick(&view, Qt::Key_Space);
    EXPECT_EQ(view.verticalScrollBar()->value(),
              QApplication::wheelScrollLines() + view.verticalScrollBar()->pageStep());
    // With Ctrl, a notch up is a point larger, and the lines taller.
    const qreal points = view.font().pointSizeF();
    const int lineHeight = view.cellRect({1, 0}).top() - view.cellRect({0, 0}).top();
    QWheelEvent larger(QPointF(10, 10), area->mapToGlobal(QPointF(10, 10)), {}, {0, 120},
                       Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &larger);
    EXPECT_EQ(view.font().pointSizeF(), points + 1);
    EXPECT_GT(view.cellRect({1, 0}).top() - view.cellRect({0, 0}).top(), lineHeight);
}

// The menu opens where it is asked for, and is found as the open popup.
QMenu* openContextMenu(ReportTextView& view) {
    QContextMenuEvent ask(QContextMenuEvent::Mouse, QPoint(20, 20),
                          view.viewport()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(view.viewport(), &ask);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

TEST(ReportTextView, theContextMenuCopiesASelectionAndSelectsAll) {
    ShownReport shown(3);
    ReportTextView& view = shown.view;
    QApplication::clipboard()->setText(QStringLiteral("before"));
    QMenu* menu = openContextMenu(view);
    ASSERT_NE(menu, nullptr);
    auto* copy = menu->findChild<QAction*>(QStringLiteral("mnu_copy"));
    auto* selectAll = menu->findChild<QAction*>(QStringLiteral("mnu_select_all"));
    ASSERT_TRUE(copy && selectAll);
    EXPECT_TRUE(copy->text().startsWith(QStringLiteral("&Copy\t")));
    EXPECT_FALSE(copy->isEnabled());
    EXPECT_TRUE(selectAll->isEnabled());
    selectAll->trigger();
    menu->close();
    EXPECT_EQ(view.selectedText(), view.toPlainText());

    menu = openContextMenu(view);
    ASSERT_NE(menu, nullptr);
    copy = menu->findChild<QAction*>(QStringLiteral("mnu_copy"));
    ASSERT_TRUE(copy->isEnabled());
    copy->trigger();
    menu->close();
    EXPECT_EQ(QApplication::clipboard()->text(), view.toPlainText());

    view.showPlainText({});
    std::unique_ptr<QMenu> empty(view.createContextMenu(nullptr));
    EXPECT_FALSE(empty->findChild<QAction*>(QStringLiteral("mnu_select_all"))->isEnabled());
}

TEST(ReportTextView, aScreenReaderReadsTheTextTheLineAndWordAtAnOffsetTheCaretAndTheSelection) {
    ShownReport shown(3);
    ReportTextView& view = shown.view;
    QAccessibleInterface* object = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->role(), QAccessible::EditableText);
    EXPECT_TRUE(object->state().readOnly);
    EXPECT_TRUE(object->state().multiLine);
    EXPECT_TRUE(object->state().focused);
    EXPECT_EQ(object->text(QAccessible::Value), view.toPlainText());
    QAccessibleTextInterface* text = object->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), view.toPlainText().size());
    EXPECT_EQ(text->text(0, text->characterCount()), view.toPlainText());
    EXPECT_EQ(text->text(51, -1), QStringLiteral("caf\u00e9\u00a0"));

    // "line 1: word_1.x" starts at 17.
    int start = 0, end = 0;
    EXPECT_EQ(text->textAtOffset(20, QAccessible::LineBoundary, &start, &end),
              QStringLiteral("line 1: word_1.x"));
    EXPECT_EQ(std::pair(start, end), std::pair(17, 33));
    EXPECT_EQ(text->textBeforeOffset(20, QAccessible::LineBoundary, &start, &end),
              QStringLiteral("line 0: word_0.x"));
    EXPECT_EQ(text->textAfterOffset(51, QAccessible::LineBoundary, &start, &end), QString());
    EXPECT_EQ(text->textAtOffset(27, QAccessible::WordBoundary, &start, &end),
              QStringLiteral("word_1"));
    EXPECT_EQ(std::pair(start, end), std::pair(25, 31));
    EXPECT_EQ(text->textAtOffset(34, QAccessible::CharBoundary, &start, &end), QStringLiteral("l"));

    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(text->cursorPosition(), 33);
    ASSERT_EQ(text->selectionCount(), 1);
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(17, 33));
    text->setSelection(0, 34, 38);
    EXPECT_EQ(view.selectedText(), QStringLiteral("line"));
    text->setCursorPosition(3);
    EXPECT_EQ(text->selectionCount(), 0);
    EXPECT_EQ(view.model().caret(), (TextPosition{0, 3}));
    EXPECT_EQ(text->offsetAtPoint(view.viewport()->mapToGlobal(shown.pointOf(2, 4))), 38);
    EXPECT_EQ(text->characterRect(38).topLeft(),
              view.viewport()->mapToGlobal(view.cellRect({2, 4}).topLeft()));

    // Text for people counts UTF-16 units, as Qt's own text does.
    view.showPlainText(QStringLiteral("\u00e9\U0001F600x\nnext"));
    EXPECT_EQ(text->characterCount(), 9);
    EXPECT_EQ(text->textAtOffset(6, QAccessible::LineBoundary, &start, &end),
              QStringLiteral("next"));
    EXPECT_EQ(text->text(1, 4), QStringLiteral("\U0001F600x"));
}

} // namespace
} // namespace faultward::uitest

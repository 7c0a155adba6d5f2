#include "ui/report_text_accessible.h"

#include "ui/report_text_view.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <algorithm>

namespace faultward {
namespace {

// A few lines of the text, for Qt's own search for characters, words and
// sentences, which wants the whole text it searches: the line of the
// offset with its neighbours is enough for a unit before or after it,
// whatever the text's size.
class LinesAround final : public QAccessibleTextInterface {
public:
    explicit LinesAround(QString text) : text_(std::move(text)) {}
    QString text(int start, int end) const override { return text_.mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(text_.size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = *end = 0;
        return {};
    }

private:
    QString text_;
};

enum class Side { Before, At, After };

class ReportTextAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReportTextAccessible(ReportTextView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return view().toPlainText();
        return QAccessibleWidget::text(kind);
    }

    QString text(int start, int end) const override {
        if (end < 0)
            end = characterCount();
        return view().textBetween(positionOf(start), positionOf(end));
    }

    int characterCount() const override { return toInt(model().textLength()); }
    int cursorPosition() const override { return offsetOf(model().caret()); }

    void setCursorPosition(int position) override {
        view().select(positionOf(position), positionOf(position));
    }

    int selectionCount() const override { return model().hasSelection() ? 1 : 0; }

    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !model().hasSelection())
            return;
        *start = offsetOf(model().selectionStart());
        *end = offsetOf(model().selectionEnd());
    }

    void addSelection(int start, int end) override { setSelection(0, start, end); }

    void removeSelection(int index) override {
        if (index == 0)
            view().select(model().caret(), model().caret());
    }

    void setSelection(int index, int start, int end) override {
        if (index == 0)
            view().select(positionOf(start), positionOf(end));
    }

    QRect characterRect(int offset) const override {
        const QRect cell = view().cellRect(positionOf(offset));
        return QRect(view().viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }

    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = view().viewport()->mapFromGlobal(point);
        if (!view().viewport()->rect().contains(local))
            return -1;
        return offsetOf(view().positionAt(local));
    }

    void scrollToSubstring(int start, int end) override {
        view().scrollToShow(positionOf(end));
        view().scrollToShow(positionOf(start));
    }

    // One face, size and colour throughout.
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        const QFont font = view().font();
        return QStringLiteral("font-family:\"%1\";font-size:%2pt;font-weight:normal;"
                              "font-style:normal;text-position:baseline;text-align:left;")
            .arg(font.family())
            .arg(font.pointSizeF());
    }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override {
        return textBeside(Side::Before, offset, boundary, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override {
        return textBeside(Side::At, offset, boundary, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override {
        return textBeside(Side::After, offset, boundary, start, end);
    }

private:
    ReportTextView& view() const { return *static_cast<ReportTextView*>(widget()); }
    const TextViewModel& model() const { return view().model(); }

    static int toInt(std::size_t value) {
        return static_cast<int>(std::min<std::size_t>(value, INT_MAX));
    }
    int offsetOf(TextPosition position) const { return toInt(model().textOffsetOf(position)); }
    TextPosition positionOf(int offset) const {
        return model().positionAtTextOffset(static_cast<std::size_t>(std::max(offset, 0)));
    }

    // A line is a line of the text without its break (a paragraph too: the
    // text is not wrapped); the others are Qt's, found in the lines around.
    QString textBeside(Side side, int offset, QAccessible::TextBoundaryType boundary, int* start,
                       int* end) const {
        *start = *end = -1;
        const int count = characterCount();
        if (boundary == QAccessible::NoBoundary) {
            *start = 0;
            *end = count;
            return text(0, count);
        }
        if (offset < 0 || offset > count)
            return {};
        const std::size_t line = positionOf(offset).line;
        if (boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary) {
            if ((side == Side::Before && line == 0) ||
                (side == Side::After && line + 1 >= model().lineCount()))
                return {};
            const std::size_t shown = side == Side::Before  ? line - 1
                                      : side == Side::After ? line + 1
                                                            : line;
            *start = offsetOf({shown, 0});
            *end = offsetOf({shown, model().lineText(shown).size()});
            return text(*start, *end);
        }
        const std::size_t firstLine = line > 0 ? line - 1 : 0;
        const std::size_t lastLine = std::min(line + 1, model().lineCount() - 1);
        const int from = offsetOf({firstLine, 0});
        // The last line's break too, where it has one.
        const int to = std::min(count, offsetOf({lastLine, model().lineText(lastLine).size()}) + 1);
        const LinesAround around(text(from, to));
        const int local = offset - from;
        const QString found =
            side == Side::Before  ? around.textBeforeOffset(local, boundary, start, end)
            : side == Side::After ? around.textAfterOffset(local, boundary, start, end)
                                  : around.textAtOffset(local, boundary, start, end);
        if (*start >= 0) {
            *start += from;
            *end += from;
        }
        return found;
    }
};

QAccessibleInterface* accessibleReportText(const QString& className, QObject* object) {
    if (object && object->isWidgetType() &&
        className == QLatin1String(ReportTextView::staticMetaObject.className()))
        return new ReportTextAccessible(static_cast<ReportTextView*>(object));
    return nullptr;
}

} // namespace

void installReportTextAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleReportText);
        return true;
    }();
    (void)installed;
}

} // namespace faultward

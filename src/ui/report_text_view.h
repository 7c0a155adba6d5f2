#pragma once

#include "app/desktop/text_view_model.h"
#include "app/reports/report_lines.h"
#include "ui/code_page_text.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPoint>
#include <QString>

#include <memory>
#include <string>
#include <string_view>

class QMenu;

namespace faultward {

// A read-only text view for text that may be long: a report, whose lines are
// drawn on the background of their kind, or plain text. It keeps the bytes
// as given with the core's lines and draws only the lines in sight, in the
// system's fixed-width font, unwrapped; nothing is done per line when a text
// is shown, so a report of any size opens at once. The caret and the
// selection are the core's TextViewModel: the arrows, Home and End (with
// Ctrl, the text's ends), the Page keys, Shift with any of them, a press,
// drag or Shift+click of the mouse, a double click for a word, Ctrl+A and
// Ctrl+C, and the context menu's Copy and Select All; Space and Shift+Space
// turn the page, Ctrl with the wheel sizes the text. The text goes to the
// clipboard as it shows: its characters, each line break one line feed.
// A screen reader reads it through ui/report_text_accessible.
class ReportTextView final : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit ReportTextView(QWidget* parent = nullptr);
    ~ReportTextView() override;

    // Shows a report's bytes, Windows-1252, in the lines given (found in
    // those bytes): both stay the caller's and must outlive the view or the
    // next call. The caret goes to the start, with nothing selected.
    void showReport(std::string_view bytes, const ReportLines& lines);
    // Shows text the view keeps a copy of, every line plain.
    void showPlainText(const QString& text);

    const TextViewModel& model() const { return *model_; }
    std::size_t lineCount() const { return model_->lineCount(); }
    ReportLineKind kindOf(std::size_t line) const { return model_->kindOf(line); }
    // The text between two positions, the whole text and the selection, as
    // they go to the clipboard.
    QString textBetween(TextPosition from, TextPosition to) const;
    QString toPlainText() const;
    QString selectedText() const;

    void copy() const;
    void selectAll();
    // Selects from anchor to caret (nothing when they are one), as the keys
    // or the mouse would, and brings the caret into sight.
    void select(TextPosition anchor, TextPosition caret);
    // Copy and Select All, enabled as they can be used; the caller owns it.
    QMenu* createContextMenu(QWidget* parent);

    // The view's size for so many cells by so many lines: frame and margins,
    // no scroll bars.
    QSize sizeForCells(int cells, int lines) const;
    // Where the character after a position is drawn, in the viewport (one
    // cell wide at a line's end), and the position nearest a point there.
    QRect cellRect(TextPosition position) const;
    TextPosition positionAt(QPoint point) const;
    void scrollToShow(TextPosition position);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showBytes(std::string_view bytes, const ReportLines& lines, TextEncoding encoding);
    void measureFont();
    void layOut();
    void caretMoved();
    void dragTo(QPoint point);
    void restartBlinking();
    void offerSelection() const;
    std::size_t firstLine() const;
    std::size_t firstCell() const;
    qreal xOf(std::size_t cell) const;
    void drawCells(QPainter& painter, std::string_view cells, qreal baseline) const;

    std::string plainBytes_;
    ReportLines plainLines_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    std::unique_ptr<TextViewModel> model_;
    int margin_ = 4;
    int lineHeight_ = 16;
    qreal cellWidth_ = 8;
    qreal ascent_ = 12;
    std::size_t rows_ = 0;  // whole lines in sight
    std::size_t cells_ = 0; // whole cells in sight
    bool caretShown_ = true;
    bool dragging_ = false;
    QPoint dragPoint_;
    QBasicTimer blink_;
    QBasicTimer dragScroll_;
    // What a screen reader was last told of.
    TextPosition toldCaret_;
    TextPosition toldAnchor_;
};

} // namespace faultward

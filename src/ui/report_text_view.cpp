#include "ui/report_text_view.h"

#include "app/reports/report_colours.h"
#include "app/texts/texts.h"
#include "ui/report_text_accessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <QtMath>

#include <algorithm>
#include <array>

namespace faultward {
namespace {

// The blank a text document leaves around its text, as the text boxes have it.
constexpr int kMargin = 4;
// How often a drag beyond the view's edge scrolls it on, in milliseconds.
constexpr int kDragScrollInterval = 50;

Rgb rgbOf(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

QString captionOf(std::string_view caption, QKeySequence::StandardKey key) {
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())) +
           QLatin1Char('\t') + QKeySequence(key).toString(QKeySequence::NativeText);
}

bool textKeyOf(int key, TextKey& textKey) {
    switch (key) {
    case Qt::Key_Left:
        textKey = TextKey::Left;
        return true;
    case Qt::Key_Right:
        textKey = TextKey::Right;
        return true;
    case Qt::Key_Up:
        textKey = TextKey::Up;
        return true;
    case Qt::Key_Down:
        textKey = TextKey::Down;
        return true;
    case Qt::Key_PageUp:
        textKey = TextKey::PageUp;
        return true;
    case Qt::Key_PageDown:
        textKey = TextKey::PageDown;
        return true;
    case Qt::Key_Home:
        textKey = TextKey::Home;
        return true;
    case Qt::Key_End:
        textKey = TextKey::End;
        return true;
    default:
        return false;
    }
}

// Printable ASCII draws as one run in a fixed-width font; anything else is
// placed character by character, so that a glyph from another face keeps
// to its cell.
bool isPlainAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

} // namespace

ReportTextView::ReportTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    installReportTextAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    measureFont();
    showPlainText({});
}

ReportTextView::~ReportTextView() = default;

void ReportTextView::showReport(std::string_view bytes, const ReportLines& lines) {
    showBytes(bytes, lines, TextEncoding::Windows1252);
}

void ReportTextView::showPlainText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    plainBytes_.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    plainLines_ = ReportLines::ofPlainText(plainBytes_);
    showBytes(plainBytes_, plainLines_, TextEncoding::Utf8);
}

void ReportTextView::showBytes(std::string_view bytes, const ReportLines& lines,
                               TextEncoding encoding) {
    encoding_ = encoding;
    model_ = std::make_unique<TextViewModel>(bytes, lines, shapeOf(encoding));
    toldCaret_ = toldAnchor_ = {};
    dragging_ = false;
    layOut();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

QString ReportTextView::textBetween(TextPosition from, TextPosition to) const {
    return decodedText(model_->textBetween(from, to, "\n"), encoding_);
}

QString ReportTextView::toPlainText() const {
    return decodedText(model_->wholeText("\n"), encoding_);
}

QString ReportTextView::selectedText() const {
    return decodedText(model_->selectedText("\n"), encoding_);
}

void ReportTextView::copy() const {
    if (model_->hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

// Where the system has a selection of its own (X11), it is what was last
// selected, to paste with the middle button.
void ReportTextView::offerSelection() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (model_->hasSelection() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void ReportTextView::selectAll() {
    model_->selectAll();
    caretMoved();
    offerSelection();
}

void ReportTextView::select(TextPosition anchor, TextPosition caret) {
    model_->placeCaret(anchor, false);
    model_->placeCaret(caret, true);
    caretMoved();
}

QMenu* ReportTextView::createContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("mnu_text"));
    QAction* copyItem =
        menu->addAction(captionOf(kCopyCaption, QKeySequence::Copy), this, &ReportTextView::copy);
    copyItem->setObjectName(QStringLiteral("mnu_copy"));
    copyItem->setEnabled(model_->hasSelection());
    menu->addSeparator();
    QAction* allItem = menu->addAction(captionOf(kSelectAllCaption, QKeySequence::SelectAll), this,
                                       &ReportTextView::selectAll);
    allItem->setObjectName(QStringLiteral("mnu_select_all"));
    allItem->setEnabled(!model_->empty());
    return menu;
}

QSize ReportTextView::sizeForCells(int cells, int lines) const {
    return {2 * frameWidth() + 2 * margin_ + qCeil(cells * cellWidth_),
            2 * frameWidth() + 2 * margin_ + lines * lineHeight_};
}

std::size_t ReportTextView::firstLine() const {
    return static_cast<std::size_t>(verticalScrollBar()->value());
}

std::size_t ReportTextView::firstCell() const {
    return static_cast<std::size_t>(horizontalScrollBar()->value());
}

qreal ReportTextView::xOf(std::size_t cell) const {
    return margin_ + (static_cast<qreal>(cell) - static_cast<qreal>(firstCell())) * cellWidth_;
}

QRect ReportTextView::cellRect(TextPosition position) const {
    const std::size_t cell = model_->cellOf(position);
    const std::size_t after = position.offset < model_->lineText(position.line).size()
                                  ? model_->cellOf({position.line, position.offset + 1})
                                  : cell + 1;
    const qreal left = xOf(cell);
    const int top = margin_ + static_cast<int>(static_cast<qint64>(position.line) -
                                               static_cast<qint64>(firstLine())) *
                                  lineHeight_;
    return QRectF(left, top, xOf(std::max(after, cell + 1)) - left, lineHeight_).toAlignedRect();
}

TextPosition ReportTextView::positionAt(QPoint point) const {
    // Above or below the lines while dragging: the lines beyond them.
    const qint64 row = static_cast<qint64>(
        std::floor(static_cast<qreal>(point.y() - margin_) / static_cast<qreal>(lineHeight_)));
    const qint64 line = std::max<qint64>(0, static_cast<qint64>(firstLine()) + row);
    const qint64 cell = std::max<qint64>(
        0, static_cast<qint64>(std::floor((point.x() - margin_ + cellWidth_ / 2) / cellWidth_)));
    return model_->positionAt(static_cast<std::size_t>(line),
                              firstCell() + static_cast<std::size_t>(cell));
}

void ReportTextView::scrollToShow(TextPosition position) {
    verticalScrollBar()->setValue(
        static_cast<int>(scrolledToShow(position.line, firstLine(), rows_)));
    horizontalScrollBar()->setValue(
        static_cast<int>(scrolledToShow(model_->cellOf(position), firstCell(), cells_)));
}

void ReportTextView::measureFont() {
    const QFontMetricsF metrics(font());
    cellWidth_ = std::max<qreal>(1, metrics.horizontalAdvance(QLatin1Char('0')));
    lineHeight_ = std::max(1, qCeil(metrics.lineSpacing()));
    ascent_ = metrics.ascent();
    margin_ = kMargin;
}

// The scroll bars count lines and cells; the last line may come to the
// bottom, and one cell past the widest line is kept for the caret at its end.
void ReportTextView::layOut() {
    const QSize room = viewport()->size();
    rows_ = static_cast<std::size_t>(std::max(0, (room.height() - margin_) / lineHeight_));
    cells_ = static_cast<std::size_t>(std::max<qreal>(0, (room.width() - margin_) / cellWidth_));
    const auto rangeOf = [](std::size_t total, std::size_t shown) {
        return static_cast<int>(std::min<std::size_t>(total - std::min(total, shown), INT_MAX));
    };
    verticalScrollBar()->setRange(0, rangeOf(model_->lineCount(), rows_));
    verticalScrollBar()->setPageStep(static_cast<int>(std::max<std::size_t>(rows_, 1)));
    horizontalScrollBar()->setRange(0, rangeOf(model_->widestCells() + 1, cells_));
    horizontalScrollBar()->setPageStep(static_cast<int>(std::max<std::size_t>(cells_, 1)));
}

void ReportTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    layOut();
}

void ReportTextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    // The constructor sets the font before there is a text.
    if (!model_)
        return;
    if (event->type() == QEvent::FontChange) {
        measureFont();
        layOut();
    }
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        viewport()->update();
}

void ReportTextView::scrollContentsBy(int, int) {
    viewport()->update();
}

// The keys the view takes go to it before any shortcut of the window. With
// the focus, the frame takes the highlight colour, as a text box's does in
// most styles, so that the view with the keyboard is seen from afar.
bool ReportTextView::event(QEvent* event) {
    if (event->type() == QEvent::Paint) {
        const bool painted = QAbstractScrollArea::event(event);
        if (hasFocus() && frameWidth() > 0) {
            QPainter painter(this);
            painter.setPen(palette().color(QPalette::Highlight));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
        return painted;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        TextKey ignored;
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll) ||
            textKeyOf(key->key(), ignored)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void ReportTextView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    // Space turns the page without the caret, as in Qt's read-only text.
    if (event->key() == Qt::Key_Space && !(event->modifiers() & ~Qt::ShiftModifier)) {
        verticalScrollBar()->triggerAction(event->modifiers() & Qt::ShiftModifier
                                               ? QAbstractSlider::SliderPageStepSub
                                               : QAbstractSlider::SliderPageStepAdd);
        return;
    }
    TextKey key;
    // Anything else (Escape, Return, letters) is the window's.
    if (!textKeyOf(event->key(), key)) {
        event->ignore();
        return;
    }
    const Motion motion = motionOf(key, event->modifiers() & Qt::ControlModifier);
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const std::size_t page = std::max<std::size_t>(rows_, 1);
    verticalScrollBar()->setValue(static_cast<int>(
        std::min<std::size_t>(firstLineAfter(motion, firstLine(), page), INT_MAX)));
    model_->move(motion, extend, page);
    caretMoved();
    if (extend)
        offerSelection();
}

// Ctrl with the wheel makes the text larger or smaller, a point a notch.
void ReportTextView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    QFont larger = font();
    const qreal points = larger.pointSizeF() + event->angleDelta().y() / 120.0;
    if (points >= 1 && larger.pointSizeF() > 0) {
        larger.setPointSizeF(points);
        setFont(larger);
    }
    event->accept();
}

void ReportTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    model_->placeCaret(positionAt(event->position().toPoint()),
                       event->modifiers() & Qt::ShiftModifier);
    dragging_ = true;
    dragPoint_ = event->position().toPoint();
    caretMoved();
}

void ReportTextView::dragTo(QPoint point) {
    dragPoint_ = point;
    model_->placeCaret(positionAt(point), true);
    caretMoved();
    // Beyond the edge the view goes on scrolling while the button is held.
    if (viewport()->rect().contains(point))
        dragScroll_.stop();
    else if (!dragScroll_.isActive())
        dragScroll_.start(kDragScrollInterval, this);
}

void ReportTextView::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        dragTo(event->position().toPoint());
}

void ReportTextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    dragScroll_.stop();
    offerSelection();
}

void ReportTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    model_->selectRunAt(positionAt(event->position().toPoint()));
    caretMoved();
    offerSelection();
}

// From the keyboard (the menu key, Shift+F10) the menu opens below the caret.
void ReportTextView::contextMenuEvent(QContextMenuEvent* event) {
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard)
        at = viewport()->mapToGlobal(cellRect(model_->caret()).bottomLeft());
    QMenu* menu = createContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
}

void ReportTextView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    restartBlinking();
}

void ReportTextView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    dragScroll_.stop();
    dragging_ = false;
    viewport()->update();
}

void ReportTextView::restartBlinking() {
    caretShown_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        blink_.start(flash / 2, this);
    else
        blink_.stop();
    viewport()->update();
}

void ReportTextView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blink_.timerId()) {
        caretShown_ = !caretShown_;
        viewport()->update(cellRect(model_->caret()).adjusted(-1, 0, 1, 0));
    } else if (event->timerId() == dragScroll_.timerId()) {
        if (dragging_)
            dragTo(dragPoint_);
        else
            dragScroll_.stop();
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

// The caret in sight, a steady caret, and a screen reader told where it
// went or what is selected now.
void ReportTextView::caretMoved() {
    scrollToShow(model_->caret());
    restartBlinking();
    const TextPosition caret = model_->caret();
    const TextPosition anchor = model_->anchor();
    if (QAccessible::isActive() && (caret != toldCaret_ || anchor != toldAnchor_)) {
        const int caretOffset = static_cast<int>(model_->textOffsetOf(caret));
        if (anchor != toldAnchor_ || model_->hasSelection()) {
            QAccessibleTextSelectionEvent selection(
                this, static_cast<int>(model_->textOffsetOf(model_->selectionStart())),
                static_cast<int>(model_->textOffsetOf(model_->selectionEnd())));
            selection.setCursorPosition(caretOffset);
            QAccessible::updateAccessibility(&selection);
        } else {
            QAccessibleTextCursorEvent moved(this, caretOffset);
            QAccessible::updateAccessibility(&moved);
        }
    }
    toldCaret_ = caret;
    toldAnchor_ = anchor;
}

void ReportTextView::drawCells(QPainter& painter, std::string_view cells, qreal baseline) const {
    if (isPlainAscii(cells)) {
        painter.drawText(QPointF(margin_, baseline),
                         QString::fromLatin1(cells.data(), static_cast<qsizetype>(cells.size())));
        return;
    }
    const CharacterShape& shape = model_->shape();
    std::size_t cell = 0;
    for (std::size_t at = 0; at < cells.size(); ++cell) {
        const std::size_t length = std::min<std::size_t>(
            shape.length[static_cast<unsigned char>(cells[at])], cells.size() - at);
        const QString character = decodedText(cells.substr(at, length), encoding_);
        painter.drawText(QPointF(margin_ + static_cast<qreal>(cell) * cellWidth_, baseline),
                         character);
        at += length;
    }
}

// Each line in sight on the core's background for its kind, from the
// palette's base and text colours; the selection in the palette's
// highlight, a line break within it one cell.
void ReportTextView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setFont(font());
    const QPalette& colours = palette();
    const Rgb base = rgbOf(colours.color(QPalette::Base));
    const Rgb text = rgbOf(colours.color(QPalette::Text));
    std::array<QColor, 6> backgrounds;
    for (std::size_t kind = 0; kind < backgrounds.size(); ++kind) {
        const Rgb tint = reportLineBackground(static_cast<ReportLineKind>(kind), base, text);
        backgrounds[kind] = QColor(tint.red, tint.green, tint.blue);
    }
    const int width = viewport()->width();
    const QRect dirty = event->rect();
    const std::size_t first = firstLine();
    const std::size_t shownCells = cells_ + 2;
    for (std::size_t line = first; line < model_->lineCount(); ++line) {
        const int top = margin_ + static_cast<int>(line - first) * lineHeight_;
        if (top >= dirty.bottom() + 1)
            break;
        if (top + lineHeight_ <= dirty.top())
            continue;
        const QRect row(0, top, width, lineHeight_);
        const ReportLineKind kind = model_->kindOf(line);
        if (kind != ReportLineKind::Plain)
            painter.fillRect(row, backgrounds[static_cast<std::size_t>(kind)]);
        const std::string cells = model_->shownCells(line, firstCell(), shownCells);
        const qreal baseline = top + ascent_;
        painter.setPen(colours.color(QPalette::Text));
        drawCells(painter, cells, baseline);
        const auto [from, to] = model_->selectedCells(line);
        if (to <= from)
            continue;
        const qreal left = std::max<qreal>(0, xOf(from));
        const QRectF selected(left, top, std::min<qreal>(width, xOf(to)) - left, lineHeight_);
        painter.save();
        painter.setClipRect(selected);
        painter.fillRect(selected, colours.color(QPalette::Highlight));
        painter.setPen(colours.color(QPalette::HighlightedText));
        drawCells(painter, cells, baseline);
        painter.restore();
    }
    const TextPosition caret = model_->caret();
    if (hasFocus() && caretShown_ && caret.line >= first) {
        const QRect cell = cellRect(caret);
        const int caretWidth = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
        painter.fillRect(QRect(cell.left(), cell.top(), std::max(1, caretWidth), lineHeight_),
                         colours.color(QPalette::Text));
    }
}

} // namespace faultward

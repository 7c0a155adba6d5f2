#include "ui/report_text_view.h"

#include "app/report_colours.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>

#include <array>

namespace faultward {
namespace {

Rgb rgbOf(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

constexpr std::array kTintedKinds = {ReportLineKind::Added, ReportLineKind::Removed,
                                     ReportLineKind::FileHeader, ReportLineKind::Hunk,
                                     ReportLineKind::Count};

} // namespace

QString reportText(std::string_view bytes) {
    // Windows-1252 where it differs from Latin-1; the five bytes it leaves
    // undefined keep their Latin-1 control characters.
    static constexpr char16_t kHighControls[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString shown(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = shown.data();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto code = static_cast<unsigned char>(bytes[i]);
        if (code == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                continue;
            *out++ = QLatin1Char('\n');
            continue;
        }
        *out++ = code >= 0x80 && code < 0xA0 ? QChar(kHighControls[code - 0x80])
                                             : QChar(static_cast<char16_t>(code));
    }
    shown.truncate(out - shown.data());
    return shown;
}

ReportTextView::ReportTextView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setUndoRedoEnabled(false);
}

void ReportTextView::showReport(std::string_view bytes, const ReportLines& lines) {
    lines_ = &lines;
    setPlainText(reportText(bytes));
}

void ReportTextView::showPlainText(const QString& text) {
    lines_ = nullptr;
    setPlainText(text);
}

ReportLineKind ReportTextView::kindOf(int block) const {
    const auto line = static_cast<std::size_t>(block);
    return lines_ && block >= 0 && line < lines_->size() ? (*lines_)[line].kind
                                                         : ReportLineKind::Plain;
}

// Only the backgrounds of the lines in sight are drawn, under the text the
// view then draws as always: nothing is done per line when the text is set,
// so a report of any size opens as fast as plain text. The colours are the
// core's tints of the palette's own base and text colours.
void ReportTextView::paintEvent(QPaintEvent* event) {
    if (lines_) {
        const Rgb base = rgbOf(palette().color(QPalette::Base));
        const Rgb text = rgbOf(palette().color(QPalette::Text));
        std::array<QColor, 6> backgrounds;
        for (const ReportLineKind kind : kTintedKinds) {
            const Rgb tint = reportLineBackground(kind, base, text);
            backgrounds[static_cast<std::size_t>(kind)] = QColor(tint.red, tint.green, tint.blue);
        }
        QPainter painter(viewport());
        const QPointF offset = contentOffset();
        const int bottom = event->rect().bottom();
        for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
            const QRectF shown = blockBoundingGeometry(block).translated(offset);
            if (shown.top() > bottom)
                break;
            const ReportLineKind kind = kindOf(block.blockNumber());
            if (kind != ReportLineKind::Plain)
                painter.fillRect(QRectF(0, shown.top(), viewport()->width(), shown.height()),
                                 backgrounds[static_cast<std::size_t>(kind)]);
        }
    }
    QPlainTextEdit::paintEvent(event);
}

} // namespace faultward

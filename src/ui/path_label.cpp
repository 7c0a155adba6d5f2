#include "ui/path_label.h"

#include <QPainter>

namespace faultward {

void PathLabel::setPath(const QString& text) {
    setText(text);
    setToolTip(text);
}

void PathLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(area, static_cast<int>(alignment()) | Qt::TextSingleLine, shown);
}

} // namespace faultward

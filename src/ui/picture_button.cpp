#include "ui/picture_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace faultward {
namespace {

constexpr int kPictureGap = 1; // between picture and caption
constexpr int kCaptionFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

PictureButton::PictureButton(const QString& caption, const QString& pictureFile, QWidget* parent)
    : QPushButton(caption, parent) {
    const QPixmap picture(pictureFile);
    setIcon(QIcon(picture));
    setIconSize(picture.size());
}

QRect PictureButton::contentArea() const {
    return rect().adjusted(3, 2, -3, -2);
}

QRect PictureButton::captionBounds(const QFontMetrics& metrics) const {
    const QRect area = contentArea();
    return metrics.boundingRect(QRect(0, 0, area.width(), area.height()), kCaptionFlags, text());
}

bool PictureButton::fitsIn(const QFont& font) const {
    const QRect area = contentArea();
    // A word wider than the button makes the bounds wider than the area.
    const QRect caption = captionBounds(QFontMetrics(font));
    return caption.width() <= area.width() &&
           iconSize().height() + kPictureGap + caption.height() <= area.height();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    // Picture and caption together, centred in the button.
    QRect area = contentArea();
    if (isDown())
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    const QRect caption = captionBounds(fontMetrics());
    const int blockHeight = iconSize().height() + kPictureGap + caption.height();
    const int top = area.top() + std::max(0, (area.height() - blockHeight) / 2);

    const QPixmap picture = icon().pixmap(iconSize(), devicePixelRatio(),
                                          isEnabled() ? QIcon::Normal : QIcon::Disabled);
    painter.drawPixmap(area.left() + (area.width() - iconSize().width()) / 2, top, picture);

    const QRect captionArea(area.left(), top + iconSize().height() + kPictureGap, area.width(),
                            area.bottom() - top);
    painter.drawItemText(captionArea, kCaptionFlags, palette(), isEnabled(), text(),
                         QPalette::ButtonText);
}

} // namespace faultward

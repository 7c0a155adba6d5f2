#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace faultward {

QPoint centredOver(QSize size, const QRect& anchor, const QRect& screen) {
    const QPoint centre = anchor.center();
    int left = centre.x() - size.width() / 2;
    int top = centre.y() - size.height() / 2;
    left = std::max(screen.left(), std::min(left, screen.right() + 1 - size.width()));
    top = std::max(screen.top(), std::min(top, screen.bottom() + 1 - size.height()));
    return {left, top};
}

void placeOver(QWidget& window, const QWidget* anchor) {
    QScreen* screen = anchor ? anchor->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    // The frame is known once the window has been shown; before, it counts as none.
    const QSize frame = window.frameGeometry().size() - window.size();
    if (window.minimumSize() != window.maximumSize())
        window.resize(window.size().boundedTo(free.size() - frame));
    const QRect area = anchor ? anchor->frameGeometry() : free;
    window.move(centredOver(window.frameGeometry().size(), area, free));
}

} // namespace faultward

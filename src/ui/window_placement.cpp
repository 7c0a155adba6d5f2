#include "ui/window_placement.h"

#include "app/desktop/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace faultward {

QPoint centredOver(QSize size, const QRect& anchor, const QRect& screen) {
    const auto place = faultward::centredOver(
        size.width(), size.height(), {anchor.x(), anchor.y(), anchor.width(), anchor.height()},
        {screen.x(), screen.y(), screen.width(), screen.height()});
    return {place.x, place.y};
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

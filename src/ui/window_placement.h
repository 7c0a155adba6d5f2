#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace faultward {

// The core's placement (app/desktop/window_placement.h) in Qt's terms.
QPoint centredOver(QSize size, const QRect& anchor, const QRect& screen);

// Gives a window that is about to be shown its place over anchor, on
// anchor's screen; without an anchor, in the middle of the primary screen. A
// window too large for the screen is made to fit first.
void placeOver(QWidget& window, const QWidget* anchor);

} // namespace faultward

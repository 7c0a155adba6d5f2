#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace faultward {

// Where a window of the given size goes: centred over anchor, then moved as
// little as needed to lie wholly inside screen (the part of the screen that
// panels leave free). A window larger than the screen keeps its top left
// corner on it.
QPoint centredOver(QSize size, const QRect& anchor, const QRect& screen);

// Gives a window that is about to be shown its place over anchor, on
// anchor's screen; without an anchor, in the middle of the primary screen. A
// window too large for the screen is made to fit first.
void placeOver(QWidget& window, const QWidget* anchor);

} // namespace faultward

#pragma once

#include "app/desktop/layout.h"

#include <QRect>

namespace faultward {

// The windows were laid out in twips; 15 make one pixel at 96 dots per inch.
constexpr int twips(int value) {
    return (value + 7) / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

constexpr QRect twipsRect(const TwipsRect& rect) {
    return twipsRect(rect.left, rect.top, rect.width, rect.height);
}

} // namespace faultward

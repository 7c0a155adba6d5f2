#pragma once

namespace faultward {

// Rectangles on the screen in pixels: the top left corner and the size.
struct ScreenRect {
    int left, top, width, height;
};

struct ScreenPoint {
    int x, y;
    bool operator==(const ScreenPoint&) const = default;
};

// Where the top left corner of a window of width by height goes: centred
// over anchor, then moved as little as needed to lie wholly inside screen
// (the part that panels leave free). A window larger than the screen keeps
// its top left corner on it.
ScreenPoint centredOver(int width, int height, const ScreenRect& anchor, const ScreenRect& screen);

} // namespace faultward

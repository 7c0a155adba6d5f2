#pragma once

#include <span>

namespace faultward {

// Rectangles in pixels: the top left corner and the size.
struct ScreenRect {
    int left, top, width, height;
    bool operator==(const ScreenRect&) const = default;
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

// Where the user left the main window: its place and size when neither
// maximized nor minimized (the frame's top left corner, and the size as the
// system measures it), and whether it was maximized.
struct WindowPlacement {
    ScreenRect normal{};
    bool maximized = false;
    bool operator==(const WindowPlacement&) const = default;
};

// A stored place brought back onto the screens of today, given by the parts
// that panels leave free, the primary one first: on the one it overlaps most
// (the primary when none), no smaller than the least size, no larger than
// that screen unless the least is, and moved as little as needed to lie
// wholly on it, or to keep its top left corner on it when it is larger.
ScreenRect broughtOnScreen(const ScreenRect& stored, int leastWidth, int leastHeight,
                           std::span<const ScreenRect> screens);

} // namespace faultward

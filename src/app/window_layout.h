#pragma once

#include "app/layout.h"
#include "app/window_placement.h"

namespace faultward {

// How far a window is beyond its first size, in pixels. Its first size is
// also its least, so neither is ever below nothing.
struct Growth {
    int width = 0, height = 0;
    bool operator==(const Growth&) const = default;
};

Growth growthBeyond(int width, int height, int firstWidth, int firstHeight);

// Where a part of a grown window goes, from where it is at the first size.
ScreenRect grownPlace(const ScreenRect& first, Anchor anchor, Growth growth);

// The width of the state column of a procedure's row of rowWidth pixels: what
// the widest state shown needs, but the head keeps at least leastHead; a state
// that then does not fit is cut at its end.
int stateColumnWidth(int rowWidth, int widestState, int leastHead);

} // namespace faultward

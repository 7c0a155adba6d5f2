#pragma once

#include "app/desktop/layout.h"
#include "app/desktop/window_placement.h"

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

// Where a procedure's state starts in its row, counted from where the head
// starts: in a column after the widest head shown when the row has room;
// else as far right as lets it end at the row's end, the head giving way,
// but never leaving the head less than leastHead (the state is then cut at
// its end). The head ends gap before the state.
int stateStart(int rowWidth, int widestHead, int stateWidth, int leastHead, int gap);

} // namespace faultward

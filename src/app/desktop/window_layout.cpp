#include "app/desktop/window_layout.h"

#include <algorithm>

namespace faultward {

Growth growthBeyond(int width, int height, int firstWidth, int firstHeight) {
    return {std::max(0, width - firstWidth), std::max(0, height - firstHeight)};
}

ScreenRect grownPlace(const ScreenRect& first, Anchor anchor, Growth growth) {
    switch (anchor) {
    case Anchor::TopLeft:
        return first;
    case Anchor::TopWide:
        return {first.left, first.top, first.width + growth.width, first.height};
    case Anchor::Fill:
        return {first.left, first.top, first.width + growth.width, first.height + growth.height};
    case Anchor::BottomLeft:
        return {first.left, first.top + growth.height, first.width, first.height};
    }
    return first;
}

int stateStart(int rowWidth, int widestHead, int stateWidth, int leastHead, int gap) {
    return std::max(leastHead + gap, std::min(widestHead + gap, rowWidth - stateWidth));
}

} // namespace faultward

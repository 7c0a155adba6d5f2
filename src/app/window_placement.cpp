#include "app/window_placement.h"

#include <algorithm>

namespace faultward {

ScreenPoint centredOver(int width, int height, const ScreenRect& anchor, const ScreenRect& screen) {
    // The centre pixel; of an even size, the one left of and above the middle.
    const int centreX = anchor.left + (anchor.width - 1) / 2;
    const int centreY = anchor.top + (anchor.height - 1) / 2;
    int left = centreX - width / 2;
    int top = centreY - height / 2;
    left = std::max(screen.left, std::min(left, screen.left + screen.width - width));
    top = std::max(screen.top, std::min(top, screen.top + screen.height - height));
    return {left, top};
}

} // namespace faultward

#include "app/desktop/window_placement.h"

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

namespace {

long long overlap(const ScreenRect& a, const ScreenRect& b) {
    const long long width = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    const long long height = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// Within [low, low + room - size], the low end winning when there is no room.
int keptWithin(int position, int size, int low, int room) {
    return std::max(low, std::min(position, low + room - size));
}

} // namespace

ScreenRect broughtOnScreen(const ScreenRect& stored, int leastWidth, int leastHeight,
                           std::span<const ScreenRect> screens) {
    ScreenRect place = stored;
    place.width = std::max(place.width, leastWidth);
    place.height = std::max(place.height, leastHeight);
    if (screens.empty())
        return place;
    const ScreenRect* screen = &screens.front();
    long long most = 0;
    for (const ScreenRect& each : screens)
        if (const long long shared = overlap(place, each); shared > most) {
            most = shared;
            screen = &each;
        }
    place.width = std::max(leastWidth, std::min(place.width, screen->width));
    place.height = std::max(leastHeight, std::min(place.height, screen->height));
    place.left = keptWithin(place.left, place.width, screen->left, screen->width);
    place.top = keptWithin(place.top, place.height, screen->top, screen->height);
    return place;
}

} // namespace faultward

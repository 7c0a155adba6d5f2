#pragma once

#include <windows.h>

namespace faultward::win {

// One line of an etched rule: one pixel high at the top of place.
struct RuleLine {
    RECT place;
    HBRUSH brush;
};

// The etched rule under a group of controls: the dark line, and the light one
// below it.
void paintEtchedRule(HDC dc, const RuleLine& dark, const RuleLine& light);

} // namespace faultward::win

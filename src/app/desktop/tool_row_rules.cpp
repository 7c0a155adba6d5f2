#include "app/desktop/tool_row_rules.h"

namespace faultward {

double toolCaptionPoints(const std::function<bool(double points)>& fits) {
    // Half points are exact in a double, so the steps land on 6 itself.
    for (double points = kLargestCaptionPoints; points > kSmallestCaptionPoints; points -= 0.5)
        if (fits(points))
            return points;
    return kSmallestCaptionPoints;
}

} // namespace faultward

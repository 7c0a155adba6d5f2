#include "win/etched_rule.h"

namespace faultward::win {
namespace {

void paintLine(HDC dc, const RuleLine& line) {
    RECT pixelHigh = line.place;
    pixelHigh.bottom = pixelHigh.top + 1;
    FillRect(dc, &pixelHigh, line.brush);
}

} // namespace

void paintEtchedRule(HDC dc, const RuleLine& dark, const RuleLine& light) {
    paintLine(dc, dark);
    paintLine(dc, light);
}

} // namespace faultward::win

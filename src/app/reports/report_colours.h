#pragma once

#include "app/reports/report_lines.h"

#include <cstdint>

namespace faultward {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The background a report line of this kind is drawn on, from the colours
// the system gives the text view: base behind the text and text for it.
// A plain line keeps the base; the others tint it toward a hue of their own
// (green added, red removed, blue hunks, amber counts, the text's own colour
// for file headers), so that light, dark and high-contrast themes all keep
// their character. The text keeps its colour, and the tint stays light
// enough for the text to read on it at 4.5:1 or, where the theme itself
// has less, at nine tenths of the theme's own contrast.
Rgb reportLineBackground(ReportLineKind kind, Rgb base, Rgb text);

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double contrastRatio(Rgb a, Rgb b);

} // namespace faultward

#include "app/reports/report_colours.h"

#include <algorithm>
#include <cmath>

namespace faultward {
namespace {

double linear(std::uint8_t channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(Rgb colour) {
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

std::uint8_t mixed(std::uint8_t from, std::uint8_t to, double share) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * share));
}

Rgb mix(Rgb from, Rgb to, double share) {
    return {mixed(from.red, to.red, share), mixed(from.green, to.green, share),
            mixed(from.blue, to.blue, share)};
}

struct Tint {
    Rgb hue;
    double share; // of the hue in the background
};

constexpr double kLeastContrast = 4.5;
constexpr double kShareOfThemesContrast = 0.9;

} // namespace

double contrastRatio(Rgb a, Rgb b) {
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

Rgb reportLineBackground(ReportLineKind kind, Rgb base, Rgb text) {
    Tint tint;
    switch (kind) {
    case ReportLineKind::Added:
        tint = {{46, 160, 67}, 0.25};
        break;
    case ReportLineKind::Removed:
        tint = {{215, 58, 73}, 0.25};
        break;
    case ReportLineKind::Hunk:
        tint = {{56, 139, 253}, 0.2};
        break;
    case ReportLineKind::Count:
        tint = {{230, 170, 0}, 0.2};
        break;
    case ReportLineKind::FileHeader:
        tint = {text, 0.15};
        break;
    default:
        return base;
    }
    const double wanted =
        std::min(kLeastContrast, kShareOfThemesContrast * contrastRatio(base, text));
    // Each step gives back a quarter of the tint; a trace of it is kept, so
    // the kinds stay apart even on a theme with no contrast to spare.
    Rgb background = mix(base, tint.hue, tint.share);
    for (double share = tint.share; contrastRatio(background, text) < wanted && share > 0.04;) {
        share *= 0.75;
        background = mix(base, tint.hue, share);
    }
    return background;
}

} // namespace faultward

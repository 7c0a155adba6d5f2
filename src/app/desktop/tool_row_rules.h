#pragma once

#include "app/desktop/tool_row.h"

#include <functional>

namespace faultward {

// Open and Help work from the start; Insert and Remove wait for a project.
constexpr bool enabledBeforeAnyProject(const ToolButton& tool) {
    return tool.index == 0 || tool.index == 7;
}

// The tool buttons that reading a project enables, by index.
inline constexpr int kEnabledByProject[] = {2, 4};

// The tool row's captions share one size: the largest from 8 points down to
// 6, in half points, at which fits says every caption fits its button; 6 when
// none does.
inline constexpr double kLargestCaptionPoints = 8;
inline constexpr double kSmallestCaptionPoints = 6;
double toolCaptionPoints(const std::function<bool(double points)>& fits);

} // namespace faultward

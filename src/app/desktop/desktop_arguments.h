#pragma once

#include <optional>
#include <string>
#include <vector>

namespace faultward {

// What the desktop program prints, run from a terminal as "faultward --help"
// or "faultward --version", instead of opening its window; nothing for any
// other command line (the window opens, as it always has).
std::optional<std::string> desktopStandAloneText(const std::vector<std::string>& args);

} // namespace faultward

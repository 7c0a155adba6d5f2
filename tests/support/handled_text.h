#pragma once

#include <string>
#include <string_view>

namespace faultward::testing {

// What insertion in a handling mode (its stored number) makes of the text.
std::string withHandlers(std::string_view content, int mode);

} // namespace faultward::testing

#pragma once

#include <string>
#include <string_view>

namespace faultward {

// A list entry or a line of a source file, held as the bytes of the system's
// ANSI code page, as UTF-8 text for people to read.
std::string entryDisplayText(std::string_view entryBytes);

} // namespace faultward

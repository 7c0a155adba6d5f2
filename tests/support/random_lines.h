#pragma once

#include <random>
#include <span>
#include <string>
#include <string_view>

namespace faultward::testing {

// Source text made of random pieces, to hold two ways through the same text
// against each other: 1 to maxLines lines of up to two pieces each, every line
// ended by ending. A "\r" piece is left out when the lines end in a line feed
// alone, where it would be a line break of the other kind. A last line that
// goes on to the next gets "x = 1" after it, so that the text ends where a
// line of its own does.
std::string randomLines(std::mt19937& random, std::span<const std::string_view> pieces,
                        int maxLines, std::string_view ending);

} // namespace faultward::testing

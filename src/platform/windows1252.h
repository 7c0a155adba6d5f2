#pragma once

#include <string>
#include <string_view>

namespace faultward {

// Code page 1252 text as UTF-8; ASCII passes through unchanged. Project files
// and sources name their files in that code page, while a Linux file system
// and the Qt windows hold such names in UTF-8.
std::string windows1252ToUtf8(std::string_view text);

} // namespace faultward

#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace faultward {

// The help lies beside the executable as a page the user's browser shows.
inline constexpr char kHelpFileName[] = "faultwardhelp.html";

std::filesystem::path helpFilePath(const std::filesystem::path& appPath);

// What the user is told when F1 finds no help (pathText is UTF-8, in the
// system's own notation), or the system cannot show the file it found.
std::string missingHelpText(std::string_view pathText);
std::string unopenedHelpText(std::string_view pathText);

} // namespace faultward

#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// The help is a page the user's browser shows. It lies beside the executable,
// or, in an installed Linux program, among the program's shared files.
inline constexpr char kHelpFileName[] = "faultwardhelp.html";

// The help file in the first of the folders, in their order, that holds it;
// when none does, the first folder's, which the message then names. The path
// is absolute: a relative folder is taken from the current folder now, so an
// Open that moves the current folder later cannot lose the help.
std::filesystem::path findHelpFile(const std::vector<std::filesystem::path>& folders);

// What the user is told when F1 finds no help (pathText is UTF-8, in the
// system's own notation), or the system cannot show the file it found.
std::string missingHelpText(std::string_view pathText);
std::string unopenedHelpText(std::string_view pathText);

} // namespace faultward

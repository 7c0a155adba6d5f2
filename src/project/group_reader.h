#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// Whether a path names a project group (.vbg, in any letter case) rather
// than a project.
bool isGroupFile(const std::filesystem::path& path);

// The projects a group's text names, in the order of its lines: every
// "StartupProject=" and "Project=" line, as written, relative to the group's
// folder.
std::vector<std::string> groupProjects(std::string_view groupText);

} // namespace faultward

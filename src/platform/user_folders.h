#pragma once

#include <filesystem>
#include <optional>

namespace faultward {

// The folder where this user's settings of the program belong: on Linux
// $XDG_CONFIG_HOME/faultward, or ~/.config/faultward; on Windows Faultward in
// the user's roaming application data; nothing when the environment names no
// such place. The folder need not exist yet.
std::optional<std::filesystem::path> userSettingsFolder();

// Whether this process may create files in the folder.
bool canCreateFilesIn(const std::filesystem::path& folder);

} // namespace faultward

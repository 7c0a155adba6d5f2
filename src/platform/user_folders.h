#pragma once

#include <filesystem>
#include <optional>

namespace faultward {

// The folder where this user's settings of the program belong: on Linux
// $XDG_CONFIG_HOME/faultward, or ~/.config/faultward; on Windows Faultward in
// the user's roaming application data; nothing when the environment names no
// such place. The folder need not exist yet.
std::optional<std::filesystem::path> userSettingsFolder();

// The folder where this user's own records of the program's runs belong
// (what a run was writing, what the user agreed to): on Linux
// $XDG_STATE_HOME/faultward, or ~/.local/state/faultward; on Windows
// Faultward in the user's local (not roaming) application data. Never a
// folder a project can name. Nothing when the environment names no such
// place; the folder need not exist yet.
std::optional<std::filesystem::path> userStateFolder();

// Whether the folder is one the system keeps programs in for every user
// (/usr/bin, /usr/local/bin, /opt/...; Program Files, the Windows folder), where
// a program's settings must not be kept beside it even when they could be.
bool isSharedProgramFolder(const std::filesystem::path& folder);

// Whether this process may create files in the folder.
bool canCreateFilesIn(const std::filesystem::path& folder);

} // namespace faultward

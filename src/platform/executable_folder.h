#pragma once

#include <filesystem>

namespace faultward {

// The folder that holds the running executable, without a trailing separator
// (unless it is the root); the settings file and the help lie beside it.
std::filesystem::path executableFolder();

} // namespace faultward

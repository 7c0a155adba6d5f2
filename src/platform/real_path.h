#pragma once

#include <filesystem>
#include <optional>

namespace faultward {

// Where a file or folder really is: its absolute path with every symbolic
// link on the way followed (on Windows junctions too) and no "." or "..",
// on Windows in the letter case the disk holds. Nothing when it does not
// exist or cannot be looked at. Two real paths compare component by
// component.
std::optional<std::filesystem::path> realPath(const std::filesystem::path& path);

} // namespace faultward

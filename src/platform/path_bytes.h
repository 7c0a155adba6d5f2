#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace faultward {

// Paths the program keeps as text (the project file in the settings, what
// the file dialog returns) are bytes; these turn them into paths and back
// without changing a byte on the way.
std::filesystem::path pathFromBytes(std::string_view bytes);
std::string bytesFromPath(const std::filesystem::path& path);

// A path's bytes as UTF-8 text for people to read.
std::string pathDisplayText(std::string_view pathBytes);

} // namespace faultward

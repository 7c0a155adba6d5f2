#include "platform/path_bytes.h"

namespace faultward {

// Paths here are bytes already.
std::filesystem::path pathFromBytes(std::string_view bytes) {
    return std::filesystem::path(std::string(bytes));
}

std::string bytesFromPath(const std::filesystem::path& path) {
    return path.native();
}

// File names on this system are UTF-8 as a rule; the windows show any other
// bytes as replacement characters.
std::string pathDisplayText(std::string_view pathBytes) {
    return std::string(pathBytes);
}

} // namespace faultward

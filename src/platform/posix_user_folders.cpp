#include "platform/user_folders.h"

#include <cstdlib>
#include <unistd.h>

namespace faultward {

std::optional<std::filesystem::path> userSettingsFolder() {
    // Relative values are to be ignored, so a stray variable cannot send the
    // settings into whatever folder the program was started in.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return std::filesystem::path(config) / "faultward";
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return std::filesystem::path(home) / ".config" / "faultward";
    return std::nullopt;
}

bool canCreateFilesIn(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace faultward

#include "platform/user_folders.h"

#include <cstdlib>
#include <string>
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

std::optional<std::filesystem::path> userStateFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
        return std::filesystem::path(state) / "faultward";
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return std::filesystem::path(home) / ".local" / "state" / "faultward";
    return std::nullopt;
}

bool isSharedProgramFolder(const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::path real = std::filesystem::weakly_canonical(folder, error);
    const std::string text = (error ? folder : real).lexically_normal().string();
    for (const char* shared : {"/usr", "/bin", "/sbin", "/lib", "/lib64", "/opt", "/snap"}) {
        const std::size_t length = std::char_traits<char>::length(shared);
        if (text.compare(0, length, shared) == 0 && (text.size() == length || text[length] == '/'))
            return true;
    }
    return false;
}

bool canCreateFilesIn(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace faultward

#include "platform/entry_path.h"

#include "platform/win32_long_path.h"
#include "platform/win32_text.h"

#include <windows.h>

namespace faultward {

// Windows reads the entry itself: both slashes separate folders, a drive
// letter or a share (\\server\share) starts an absolute path, a leading
// backslash starts at the root of the project's drive. Names are in the ANSI
// code page, as the project file was written.
std::optional<std::filesystem::path> literalEntryPath(std::string_view entry,
                                                      const std::filesystem::path& baseFolder) {
    if (entry.empty() || entry.find('\0') != std::string_view::npos)
        return std::nullopt;
    return baseFolder / std::filesystem::path(win32::wideFromAnsi(entry));
}

// The file system already ignores letter case, so the entry as written is
// the only name to try.
std::optional<std::filesystem::path> resolveEntryPath(std::string_view entry,
                                                      const std::filesystem::path& baseFolder) {
    auto path = literalEntryPath(entry, baseFolder);
    if (!path ||
        ::GetFileAttributesW(win32::extendedPath(*path).c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return path;
}

} // namespace faultward

#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace faultward {

// Finds the file that a project entry names, the way Windows would have found
// it: backslashes separate folders, a relative entry starts at the project's
// folder, and letter case does not matter. On Linux a name that does not exist
// as written is matched without regard to letter case, one component at a
// time; names with 8-bit characters are tried as their raw bytes first, then
// converted from code page 1252 to UTF-8, which is how such names arrive on a
// Linux file system; a drive letter names nothing. On Windows the system reads
// the entry, in the ANSI code page. Returns nothing when no such file (or
// link) exists.
std::optional<std::filesystem::path> resolveEntryPath(std::string_view entry,
                                                      const std::filesystem::path& baseFolder);

// The path an entry names when taken as written, without looking at the disk;
// nothing for entries that can name no file here (empty, a NUL byte, on Linux a
// drive letter).
std::optional<std::filesystem::path> literalEntryPath(std::string_view entry,
                                                      const std::filesystem::path& baseFolder);

} // namespace faultward

#pragma once

#include "platform/source_file.h"

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace faultward {

// What a file looks like from outside, links followed, to tell whether
// another program changed it between two looks without reading it twice.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    // In the system's own units of file time: the last write, and the last
    // change of any kind, which a write within the first's tick that keeps
    // the size still moves on most file systems.
    std::int64_t modified = 0;
    std::int64_t changed = 0;
    FileIdentity identity;
    bool regular = false; // a plain file, not a folder, device or (unfollowed) link
    bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const std::filesystem::path& path);

// How long ago the stamped file last changed; a change in the future (a
// clock set wrong) counts as long ago.
std::chrono::nanoseconds timeSinceChange(const FileStamp& stamp);

// Whether the name itself is a symbolic link (on Windows any reparse point),
// whether or not what it points to is there.
bool isSymbolicLink(const std::filesystem::path& path);

} // namespace faultward

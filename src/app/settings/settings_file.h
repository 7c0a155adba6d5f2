#pragma once

#include "platform/file_stamp.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace faultward {

// Reading and changing the settings files, ERRH.ini and a project's
// NAME.faultward: 8-bit INI text that people edit, and a project's comes
// with the project from whoever made it.

// A project's settings file holds a few lines; 16 MB holds a [Leave] list of
// some 400,000 items, and keeps one that is far too large from taking the
// memory of every command. ERRH.ini, the user's own, has no such limit.
inline constexpr std::uint64_t kProjectSettingsLimit = 16u << 20;

struct SettingsText {
    bool exists = false;
    std::string bytes; // as on disk
    // Why the file cannot be used: it cannot be read, is a link to nothing,
    // is UTF-16, or is over the limit. Nothing is written into it then.
    std::optional<std::string> problem;
    // The file was read, or found, and refused for what it is: the last three.
    bool refused = false;
};
SettingsText readSettingsText(const std::filesystem::path& file,
                              std::optional<std::uint64_t> limit);

// What a change makes of the file's text as it is on disk now.
using SettingsChange = std::function<std::string(const std::string& current)>;

// How long a save waits for another of this program's saves in the same
// folder, and for a file another program keeps changing.
struct SettingsWaits {
    std::chrono::milliseconds lock{30000};
    // The file is read once it has not changed for this long, as one
    // another program is writing in place changes all the while.
    std::chrono::milliseconds quiet{100};
    std::chrono::milliseconds settle{5000};
};

// Replaces the file with what change makes of its current text, under the
// settings lock of its folder: the text is read once the file is quiet, read
// again while it changes during the read, and the change is made again when
// the file changed before the replace. While file does not exist, the text
// is fallback's (empty: none). A file that would not change, or would be
// made empty, is not written; nor is one that is a symbolic link. The cause
// when nothing was written. ours, when given, is the stamp of the caller's
// last write, which is not waited on, and receives the new one.
std::optional<std::string>
changeSettingsFile(const std::filesystem::path& file, const SettingsChange& change,
                   std::optional<std::uint64_t> limit, const std::filesystem::path& fallback = {},
                   FileStamp* ours = nullptr, const SettingsWaits& waits = {});

} // namespace faultward

#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace faultward::reliability {

// What a test needs to know about one entry of a folder tree to tell whether
// it was touched: its kind, bytes (a link's target for links), inode, and
// modification and change times.
struct EntryState {
    mode_t type = 0;
    std::string bytes;
    ino_t inode = 0;
    timespec modified{};
    timespec changed{};
};

// Every entry below root by its path relative to root. Links are not followed;
// FIFOs and devices are recorded but never opened.
using TreeSnapshot = std::map<std::string, EntryState>;

TreeSnapshot snapshotTree(const std::filesystem::path& root);

// One entry's state; withBytes false leaves the bytes out, for files too large
// to hold twice.
EntryState entryState(const std::filesystem::path& path, bool withBytes = true);

// Same kind and bytes; and when strict, also the same inode and times, that
// is, not rewritten at all.
bool sameEntry(const EntryState& a, const EntryState& b, bool strict);

// The relative paths whose entries differ (or exist in only one snapshot).
std::vector<std::string> differences(const TreeSnapshot& before, const TreeSnapshot& after,
                                     bool strict);

// Temporaries the command line writes before renaming them over a file.
std::vector<std::string> temporariesIn(const TreeSnapshot& tree);

// Writes bytes to a file, making folders on the way.
void writeFile(const std::filesystem::path& path, std::string_view bytes);

// Writes a made-up project of a realistic shape; returns the project file.
std::filesystem::path generateProject(const std::filesystem::path& folder, int files, int lines,
                                      int seed);

// Hands a tree to the user the child processes run as (see ChildOptions), and
// opens root's own folder to it.
void giveTreeToChildUser(const std::filesystem::path& root);

} // namespace faultward::reliability

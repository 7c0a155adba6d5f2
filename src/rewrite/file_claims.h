#pragma once

#include "rewrite/held_sources.h"
#include "rewrite/pass_types.h"

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace faultward {

// Which entry of a pass works on each file. All the selected entries' files
// are looked up in list order before any is read or written, so entries that
// name one file (letter case, "..", links) are known as such whichever
// worker meets them first. The first of them that reads the file works on
// it; the later ones are the same file as before. Safe to use from several
// threads.
class FileClaims {
public:
    // Held sources are each their entry's own.
    FileClaims(std::span<const ListEntry> entries, const PassSources& sources);

    // Where the entry's file is; nothing when the entry names no file here.
    const std::optional<std::filesystem::path>& path(int index) const {
        return entries_[static_cast<std::size_t>(index)].path;
    }

    // Waits until the nearest earlier entry naming the same file has settled;
    // true when it, or one before it, read the file.
    bool takenBefore(int index);

    // Tells the later entries naming the same file whether this one read it
    // (or found it taken before).
    void settle(int index, bool taken);

private:
    struct Entry {
        std::optional<std::filesystem::path> path;
        int previous = -1; // the nearest earlier entry naming the same file
    };
    std::vector<Entry> entries_;
    std::mutex mutex_;
    std::condition_variable settled_;
    std::vector<signed char> taken_; // -1 while unsettled
};

} // namespace faultward

#pragma once

#include "platform/source_file.h"

#include <filesystem>
#include <string>
#include <vector>

namespace faultward {

// What a folder holds, one item a name, in no particular order.
struct FolderListing {
    struct Item {
        // The name as a project's entry would write it: its bytes, on Windows
        // in the ANSI code page.
        std::string entry;
        bool isFolder = false; // links followed
    };
    std::vector<Item> items;
    // Names no entry can hold (on Windows, characters outside the ANSI code
    // page), as UTF-8 text for people to read.
    std::vector<std::string> unnamable;
};

// Lists the folder's own items, not those of the folders in it; Ok, or why
// the folder cannot be listed (NotFound, NotRegularFile for a file that is
// no folder, PermissionDenied, NotReadable).
ReadStatus listFolder(const std::filesystem::path& folder, FolderListing& listing);

} // namespace faultward

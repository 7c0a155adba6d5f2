#pragma once

#include "rewrite/insertion_options.h"
#include "rewrite/passes.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace faultward::testing {

// A project of random sources and entries with what the passes must get
// right across files: end lines before a file's first head (whose handler
// takes the name an earlier file leaves), files without heads, handlers of
// another mode already in place, the developer's own lines holding the
// marker, odd line breaks, read-only files, entries naming a file already
// named, missing files, folders and entries left unticked. Now and then a
// file goes past the line limit.
struct RandomProject {
    std::vector<ListEntry> entries;
    InsertionOptions options;
};

RandomProject writeRandomProject(const std::filesystem::path& folder, std::uint64_t seed);

} // namespace faultward::testing

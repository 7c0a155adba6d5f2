#pragma once

#include "rewrite/dry_run_files.h"

#include <filesystem>
#include <span>
#include <string>

namespace faultward {

// What a dry run prints: for every file that would change, in list order, one
// line with the numbers of lines added and removed, or with diff set its
// changes as a unified diff. The diff's paths are relative to the deepest
// folder that holds the project's folder and every changed file, so that
// patch -p1 applies it there; when that is not the project's folder (a file
// lies outside it), a line "folder: PATH" before the first header names it.
// Without diff, the files too long for all their handlers are named after
// the counts (lineLimitNotes).
std::string dryRunReport(const DryRunFiles& files, const std::filesystem::path& projectFolder,
                         bool diff);
// The same for some of the files, in this order.
std::string dryRunReport(std::span<const DryRunFiles::File* const> changed,
                         const std::filesystem::path& projectFolder, bool diff);

// "Big.bas: over 32000 lines; ...": why a dry run that would change nothing
// there still exits as a run that did not do all it was asked.
std::string lineLimitNotes(const DryRunFiles& files);

} // namespace faultward

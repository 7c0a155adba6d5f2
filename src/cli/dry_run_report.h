#pragma once

#include "rewrite/dry_run_files.h"

#include <filesystem>
#include <string>

namespace faultward {

// What a dry run prints: for every file that would change, in list order, one
// line with the numbers of lines added and removed, or with diff set its
// changes as a unified diff, with paths relative to the project's folder.
std::string dryRunReport(const DryRunFiles& files, const std::filesystem::path& baseFolder,
                         bool diff);

} // namespace faultward

#pragma once

#include "app/pass_driver.h"

#include <filesystem>
#include <string>

namespace faultward {

// A report built from the passes, and the files they could not read.
struct ReportRun {
    std::string text;
    FailureCollector failures;
};

// What Insert would write to the ticked entries, writing nothing: the lines
// added and removed per file (what `faultward-cli insert --dry-run` prints),
// then, after an empty line, the unified diff (what `--dry-run --diff`
// prints), paths relative to projectFolder.
ReportRun previewReport(const PassTargets& targets, const std::filesystem::path& projectFolder);

// What `faultward-cli check` prints for the ticked entries: a summary per
// file and a line for each procedure without a trap.
ReportRun checkProjectReport(const PassTargets& targets);

} // namespace faultward

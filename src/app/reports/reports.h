#pragma once

#include "app/commands/list_source.h"
#include "app/commands/pass_driver.h"

#include <filesystem>
#include <span>
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
// prints), paths relative to projectFolder. For a group, the entries of
// parts: in each half a line "project: NAME" before each project's part, as
// the command line prints them, the diff's paths relative to the project's
// own folder; the passes still run once over all the entries, as Insert does.
ReportRun previewReport(const PassTargets& targets, const std::filesystem::path& projectFolder,
                        std::span<const ListPart> parts = {});

// What `faultward-cli check` prints for the ticked entries: a summary per
// file and a line for each procedure without a trap; for a group, a line
// "project: NAME" before each project's part.
ReportRun checkProjectReport(const PassTargets& targets, std::span<const ListPart> parts = {});

} // namespace faultward

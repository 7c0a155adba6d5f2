#pragma once

#include "rewrite/dry_run_files.h"

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// What a dry run prints, written as the pass hands on the files (it listens
// to a DryRunFiles): for every file that would change, in list order, one
// line with the numbers of lines added and removed, or with diff its changes
// as a unified diff. The diff's paths are relative to the deepest folder that
// holds the project's folder and every changed file, so that patch -p1
// applies it there; when that is not the project's folder (a file lies
// outside it), a line "folder: PATH" before the first header names it. That
// folder is known before the first file only when every file the entries
// name lies in the project's folder; otherwise the diffs are held until the
// last file has come.
class DryRunReport final : public DryRunListener {
public:
    using Output = std::function<void(std::string_view)>;
    DryRunReport(const std::filesystem::path& projectFolder, bool diff, Output output);

    void filesNamed(std::span<const NamedFile> files) override;
    void fileWouldChange(const DryRunChange& change) override;
    // After the last file: the diffs held, or the counts' "no file would
    // change" when no file would.
    void finish();
    bool anyChange() const { return anyChange_; }

private:
    struct HeldDiff {
        std::filesystem::path path;
        std::string hunks;
    };
    void writeDiff(const std::filesystem::path& root, const std::filesystem::path& path,
                   std::string_view hunks);

    std::filesystem::path projectFolder_; // lexically normal
    bool diff_;
    Output output_;
    bool rootKnown_ = false;
    bool anyChange_ = false;
    std::vector<HeldDiff> held_;
};

// The whole report of a dry run whose files were kept.
std::string dryRunReport(const DryRunFiles& files, const std::filesystem::path& projectFolder,
                         bool diff);

// "Big.bas: over 32000 lines; ...": why a dry run that would change nothing
// there still exits as a run that did not do all it was asked.
std::string lineLimitNotes(const DryRunFiles& files);

} // namespace faultward

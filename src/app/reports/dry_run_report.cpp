#include "app/reports/dry_run_report.h"

#include "platform/path_bytes.h"
#include "rewrite/transforms.h"

namespace fs = std::filesystem;

namespace faultward {
namespace {

fs::path commonFolder(const fs::path& a, const fs::path& b) {
    fs::path common;
    for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end() && *i == *j; ++i, ++j)
        common /= *i;
    return common;
}

// A file reached through "..\Shared\X.bas" lies beside the project's folder,
// not below it; a header "a/../Shared/X.bas" is one patch refuses.
template <typename Files, typename PathOf>
fs::path diffRoot(const fs::path& projectFolder, const Files& files, PathOf pathOf) {
    fs::path root = projectFolder;
    for (const auto& file : files)
        root = commonFolder(root, pathOf(file).lexically_normal().parent_path());
    return root;
}

} // namespace

DryRunReport::DryRunReport(const fs::path& projectFolder, bool diff, Output output)
    : projectFolder_(projectFolder.lexically_normal()), diff_(diff), output_(std::move(output)) {}

void DryRunReport::filesNamed(std::span<const NamedFile> files) {
    rootKnown_ = diffRoot(projectFolder_, files, [](const NamedFile& file) -> const fs::path& {
                     return file.path;
                 }) == projectFolder_;
}

void DryRunReport::fileWouldChange(const DryRunChange& change) {
    anyChange_ = true;
    if (!diff_) {
        std::string line(change.entry);
        line += ": +" + std::to_string(change.lines.added) + " -" +
                std::to_string(change.lines.removed) + "\n";
        output_(line);
    } else if (rootKnown_) {
        writeDiff(projectFolder_, change.path, change.hunks);
    } else {
        held_.push_back({change.path, std::string(change.hunks)});
    }
}

void DryRunReport::finish() {
    if (!diff_) {
        if (!anyChange_)
            output_("no file would change\n");
        return;
    }
    if (held_.empty())
        return;
    const fs::path root = diffRoot(
        projectFolder_, held_, [](const HeldDiff& held) -> const fs::path& { return held.path; });
    if (root != projectFolder_)
        output_("folder: " + bytesFromPath(root) + "\n");
    for (const HeldDiff& held : held_)
        writeDiff(root, held.path, held.hunks);
    held_.clear();
}

void DryRunReport::writeDiff(const fs::path& root, const fs::path& path, std::string_view hunks) {
    const std::string relative = path.lexically_normal().lexically_relative(root).generic_string();
    output_("--- a/" + relative + "\n+++ b/" + relative + "\n");
    output_(hunks);
}

std::string dryRunReport(const DryRunFiles& files, const fs::path& projectFolder, bool diff) {
    std::string text;
    DryRunReport report(projectFolder, diff, [&](std::string_view part) { text += part; });
    DryRunFiles listening(report, diff);
    files.handOn(listening);
    report.finish();
    if (!diff)
        text += lineLimitNotes(files);
    return text;
}

std::string lineLimitNotes(const DryRunFiles& files) {
    std::string text;
    for (const auto& [index, entry] : files.overLimit())
        text += entry + ": over " + std::to_string(kInsertionLineLimit) +
                " lines; the procedures after line " + std::to_string(kInsertionLineLimit) +
                " would get no handlers\n";
    return text;
}

} // namespace faultward

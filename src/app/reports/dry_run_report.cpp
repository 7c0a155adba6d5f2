#include "app/reports/dry_run_report.h"

#include "platform/path_bytes.h"
#include "rewrite/line_diff.h"
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
fs::path diffRoot(std::span<const DryRunFiles::File* const> changed,
                  const fs::path& projectFolder) {
    fs::path root = projectFolder.lexically_normal();
    for (const DryRunFiles::File* file : changed)
        if (file->before != file->after)
            root = commonFolder(root, file->path.lexically_normal().parent_path());
    return root;
}

} // namespace

std::string dryRunReport(const DryRunFiles& files, const fs::path& projectFolder, bool diff) {
    std::string text = dryRunReport(files.files(), projectFolder, diff);
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

std::string dryRunReport(std::span<const DryRunFiles::File* const> changed,
                         const fs::path& projectFolder, bool diff) {
    std::string text;
    const fs::path root = diff ? diffRoot(changed, projectFolder) : projectFolder;
    for (const DryRunFiles::File* file : changed) {
        // Removal and insertion together may give back the very same bytes.
        if (file->before == file->after)
            continue;
        if (diff) {
            if (text.empty() && root != projectFolder.lexically_normal())
                text += "folder: " + bytesFromPath(root) + "\n";
            const std::string path =
                file->path.lexically_normal().lexically_relative(root).generic_string();
            text += unifiedDiff(file->before, file->after, "a/" + path, "b/" + path);
        } else {
            const LineChanges changes = countLineChanges(file->before, file->after);
            text += file->entry + ": +" + std::to_string(changes.added) + " -" +
                    std::to_string(changes.removed) + "\n";
        }
    }
    if (text.empty() && !diff)
        text = "no file would change\n";
    return text;
}

} // namespace faultward

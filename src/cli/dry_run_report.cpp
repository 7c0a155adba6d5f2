#include "cli/dry_run_report.h"

#include "rewrite/line_diff.h"

namespace faultward {

std::string dryRunReport(const DryRunFiles& files, const std::filesystem::path& baseFolder,
                         bool diff) {
    std::string text;
    for (const DryRunFiles::File* file : files.files()) {
        // Removal and insertion together may give back the very same bytes.
        if (file->before == file->after)
            continue;
        if (diff) {
            const std::string path = file->path.lexically_relative(baseFolder).generic_string();
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

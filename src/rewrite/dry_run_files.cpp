#include "rewrite/dry_run_files.h"

#include <algorithm>

namespace faultward {

const std::string* DryRunFiles::contents(const FileIdentity& identity) const {
    const auto found = files_.find(identity);
    return found == files_.end() ? nullptr : &found->second.after;
}

void DryRunFiles::keep(const FileIdentity& identity, int index, std::string_view entry,
                       const std::filesystem::path& path, std::string_view before,
                       std::string after) {
    const auto [file, added] = files_.try_emplace(identity);
    if (added)
        file->second = {index, std::string(entry), path, std::string(before), {}};
    file->second.after = std::move(after);
}

std::vector<const DryRunFiles::File*> DryRunFiles::files() const {
    std::vector<const File*> list;
    for (const auto& [identity, file] : files_)
        list.push_back(&file);
    std::stable_sort(list.begin(), list.end(),
                     [](const File* a, const File* b) { return a->firstIndex < b->firstIndex; });
    return list;
}

void DryRunFiles::handOn(DryRunFiles& listening) const {
    DryRunListener& listener = *listening.listener();
    const std::vector<const File*> changed = files();
    std::vector<NamedFile> named;
    for (const File* file : changed)
        named.push_back({file->firstIndex, file->path});
    listener.filesNamed(named);
    std::string hunks;
    for (const File* file : changed) {
        hunks.clear();
        const std::string_view after = file->after;
        const LineChanges lines = compareLines(file->before, std::span(&after, 1),
                                               listening.wantsHunks() ? &hunks : nullptr);
        if (lines.added + lines.removed > 0)
            listener.fileWouldChange({file->firstIndex, file->entry, file->path, lines, hunks});
    }
    for (const auto& [index, entry] : overLimit_)
        listening.overLineLimit(index, entry);
}

} // namespace faultward

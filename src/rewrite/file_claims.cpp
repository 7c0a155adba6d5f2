#include "rewrite/file_claims.h"

#include "platform/entry_path.h"
#include "platform/source_file.h"

#include <map>

namespace faultward {
namespace {

// Most entries name their file exactly; the letter-case search of the
// folders is only needed when that finds nothing.
std::optional<std::filesystem::path> locate(std::string_view entry,
                                            const std::filesystem::path& baseFolder,
                                            std::optional<FileIdentity>& identity) {
    std::optional<std::filesystem::path> path = literalEntryPath(entry, baseFolder);
    if (!path)
        return std::nullopt;
    FileIdentity found;
    ReadStatus status = identifyFile(*path, found);
    if (status == ReadStatus::NotFound) {
        path = resolveEntryPath(entry, baseFolder);
        if (!path)
            return std::nullopt;
        status = identifyFile(*path, found);
    }
    if (status == ReadStatus::Ok)
        identity = found;
    return path;
}

} // namespace

FileClaims::FileClaims(std::span<const ListEntry> entries, const PassSources& sources)
    : entries_(entries.size()), taken_(entries.size(), -1) {
    std::map<FileIdentity, int> lastNaming;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].selected)
            continue;
        if (sources.held) {
            if (sources.held->holds(entries[i].text))
                entries_[i].path = sources.held->pathOf(entries[i].text);
            continue;
        }
        std::optional<FileIdentity> identity;
        entries_[i].path = locate(entries[i].text, sources.folder, identity);
        if (!identity)
            continue;
        const auto [last, first] = lastNaming.try_emplace(*identity, static_cast<int>(i));
        if (!first) {
            entries_[i].previous = last->second;
            last->second = static_cast<int>(i);
        }
    }
}

bool FileClaims::takenBefore(int index) {
    const int previous = entries_[static_cast<std::size_t>(index)].previous;
    if (previous < 0)
        return false;
    std::unique_lock lock(mutex_);
    settled_.wait(lock, [&] { return taken_[static_cast<std::size_t>(previous)] >= 0; });
    return taken_[static_cast<std::size_t>(previous)] == 1;
}

void FileClaims::settle(int index, bool taken) {
    {
        std::lock_guard lock(mutex_);
        taken_[static_cast<std::size_t>(index)] = taken ? 1 : 0;
    }
    settled_.notify_all();
}

} // namespace faultward

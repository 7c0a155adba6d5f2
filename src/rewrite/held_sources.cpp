#include "rewrite/held_sources.h"

#include "platform/entry_path.h"

#include <limits>

namespace faultward {
namespace {

// No volume of a disk has this number, so a held source's identity is
// never a file's.
constexpr std::uint64_t kHeldVolume = std::numeric_limits<std::uint64_t>::max();

} // namespace

void HeldSources::add(std::string entry, std::string source) {
    std::lock_guard lock(mutex_);
    const std::uint64_t number = sources_.size();
    std::string current = source;
    sources_.insert_or_assign(std::move(entry),
                              Source{number, std::move(source), std::move(current)});
}

std::filesystem::path HeldSources::pathOf(std::string_view entry) const {
    return literalEntryPath(entry, container_).value_or(container_);
}

bool HeldSources::holds(std::string_view entry) const {
    std::lock_guard lock(mutex_);
    return sources_.find(entry) != sources_.end();
}

ReadStatus HeldSources::read(std::string_view entry, std::string& content,
                             FileIdentity& identity) const {
    std::lock_guard lock(mutex_);
    const auto found = sources_.find(entry);
    if (found == sources_.end())
        return ReadStatus::NotFound;
    content = found->second.current;
    identity = {kHeldVolume, found->second.number};
    return ReadStatus::Ok;
}

void HeldSources::write(std::string_view entry, std::span<const std::string_view> pieces) {
    std::string joined;
    for (const std::string_view piece : pieces)
        joined += piece;
    std::lock_guard lock(mutex_);
    if (const auto found = sources_.find(entry); found != sources_.end())
        found->second.current = std::move(joined);
}

std::map<std::string, std::string> HeldSources::changed() const {
    std::lock_guard lock(mutex_);
    std::map<std::string, std::string> sources;
    for (const auto& [entry, source] : sources_)
        if (source.current != source.original)
            sources.emplace(entry, source.current);
    return sources;
}

} // namespace faultward

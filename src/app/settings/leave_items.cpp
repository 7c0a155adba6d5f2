#include "app/settings/leave_items.h"

#include "platform/entry_path.h"
#include "platform/source_file.h"
#include "rewrite/procedure_extents.h"
#include "rewrite/text_lines.h"

namespace faultward {

std::shared_ptr<const LeaveList> leaveListOf(std::span<const LeaveFileInForce> files) {
    auto list = std::make_shared<LeaveList>();
    for (const LeaveFileInForce& file : files)
        if (file.items)
            list->add(file.items->file, file.items->items, file.entryPrefix);
    return list;
}

void keepNamedMarks(std::span<const LeaveFileInForce> files, const std::vector<bool>& named) {
    std::size_t at = 0;
    for (const LeaveFileInForce& file : files) {
        if (!file.items)
            continue;
        std::vector<bool>& kept = file.items->named;
        kept.resize(file.items->items.size());
        for (std::size_t i = 0; i < kept.size() && at < named.size(); ++i, ++at)
            kept[i] = kept[i] || named[at];
    }
}

void markNamedItems(const LeaveList& list, std::span<const ListEntry> entries,
                    const std::filesystem::path& folder, std::vector<bool>& named) {
    named.resize(list.items().size());
    std::string content;
    for (const ListEntry& entry : entries) {
        const auto path = entry.selected ? resolveEntryPath(entry.text, folder) : std::nullopt;
        if (!path || !list.namesProcedures() || readRegularFile(*path, content) != ReadStatus::Ok) {
            list.markNamed(entry.text, nullptr, named);
            continue;
        }
        std::vector<std::string_view> lines;
        LineCursor cursor(content);
        for (std::string_view line; cursor.next(line);)
            lines.push_back(line);
        std::vector<std::string> procedures;
        for (const ProcedureExtent& extent : procedureExtents(lines))
            procedures.emplace_back(extent.name);
        list.markNamed(entry.text, &procedures, named);
    }
}

std::vector<std::string> leaveItemsNamingNothing(const LeaveItems& items, std::string_view looked) {
    std::vector<std::string> warnings;
    for (std::size_t i = 0; i < items.items.size(); ++i)
        if (i >= items.named.size() || !items.named[i])
            warnings.push_back(items.file + " [Leave] " + items.items[i] + " names no " +
                               (isProcedureItem(items.items[i]) ? "procedure" : "file") +
                               " of the kinds " + std::string(looked));
    return warnings;
}

} // namespace faultward

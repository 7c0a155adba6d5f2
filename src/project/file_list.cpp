#include "project/file_list.h"

#include "platform/windows_names.h"

#include <algorithm>

namespace faultward {

int compareListText(std::string_view a, std::string_view b) {
    return compareIgnoringAsciiCase(a, b);
}

namespace {

std::vector<ListEntry> sorted(std::vector<ListEntry> list) {
    std::stable_sort(list.begin(), list.end(), [](const ListEntry& a, const ListEntry& b) {
        return compareListText(a.text, b.text) < 0;
    });
    return list;
}

} // namespace

std::vector<ListEntry> sortedListEntries(const std::vector<std::string>& entriesInFileOrder) {
    std::vector<ListEntry> list;
    list.reserve(entriesInFileOrder.size());
    for (const std::string& text : entriesInFileOrder)
        list.push_back({text, true});
    return sorted(std::move(list));
}

std::vector<ListEntry> sortedListEntries(const std::vector<ProjectEntry>& entriesInFileOrder) {
    std::vector<ListEntry> list;
    list.reserve(entriesInFileOrder.size());
    for (const ProjectEntry& entry : entriesInFileOrder)
        list.push_back({entry.text, true, entry.kind});
    return sorted(std::move(list));
}

} // namespace faultward

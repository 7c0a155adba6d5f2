#include "file_list.h"

#include <algorithm>

namespace faultward {
namespace {

unsigned char fold(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

} // namespace

int compareListText(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = fold(a[i]);
        const unsigned char y = fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::size_t sortedInsertPosition(const std::vector<ListEntry>& list, std::string_view text) {
    const auto at = std::upper_bound(
        list.begin(), list.end(), text,
        [](std::string_view t, const ListEntry& e) { return compareListText(t, e.text) < 0; });
    return static_cast<std::size_t>(at - list.begin());
}

std::vector<ListEntry> sortedListEntries(const std::vector<std::string>& entriesInFileOrder) {
    std::vector<ListEntry> list;
    list.reserve(entriesInFileOrder.size());
    for (const std::string& text : entriesInFileOrder)
        list.push_back({text, true});
    std::stable_sort(list.begin(), list.end(), [](const ListEntry& a, const ListEntry& b) {
        return compareListText(a.text, b.text) < 0;
    });
    return list;
}

} // namespace faultward

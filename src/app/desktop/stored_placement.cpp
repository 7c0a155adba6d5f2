#include "app/desktop/stored_placement.h"

#include <charconv>
#include <string>

namespace faultward {
namespace {

constexpr std::string_view kLeftKey = "Left";
constexpr std::string_view kTopKey = "Top";
constexpr std::string_view kWidthKey = "Width";
constexpr std::string_view kHeightKey = "Height";
constexpr std::string_view kMaximizedKey = "Maximized";
constexpr std::size_t kReadBufferSize = 64;

std::optional<int> storedNumber(ProfileStore& store, std::string_view key) {
    const std::string text = store.readString(kWindowSection, key, "", kReadBufferSize);
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

void writeNumber(ProfileStore& store, std::string_view key, int value) {
    if (storedNumber(store, key) != value)
        store.writeString(kWindowSection, key, std::to_string(value));
}

} // namespace

std::optional<WindowPlacement> readWindowPlacement(ProfileStore& store) {
    const std::optional<int> left = storedNumber(store, kLeftKey);
    const std::optional<int> top = storedNumber(store, kTopKey);
    const std::optional<int> width = storedNumber(store, kWidthKey);
    const std::optional<int> height = storedNumber(store, kHeightKey);
    if (!left || !top || !width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    return WindowPlacement{{*left, *top, *width, *height},
                           storedNumber(store, kMaximizedKey).value_or(0) != 0};
}

void writeWindowPlacement(ProfileStore& store, const WindowPlacement& placement) {
    writeNumber(store, kLeftKey, placement.normal.left);
    writeNumber(store, kTopKey, placement.normal.top);
    writeNumber(store, kWidthKey, placement.normal.width);
    writeNumber(store, kHeightKey, placement.normal.height);
    writeNumber(store, kMaximizedKey, placement.maximized ? 1 : 0);
}

} // namespace faultward

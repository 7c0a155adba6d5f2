#include "platform/win32_temporary_name.h"

#include <limits>

namespace faultward::win32 {
namespace {

constexpr std::wstring_view kInfix = L".faultward-";
constexpr std::wstring_view kSuffix = L".tmp";
constexpr std::wstring_view kCopySuffix = L".old";
constexpr std::size_t kNameLimit = 255;

std::size_t roomForName(DWORD processId, std::wstring_view suffix) {
    const std::size_t fixed = 1 + kInfix.size() + std::to_wstring(processId).size() + suffix.size();
    return kNameLimit - fixed;
}

std::wstring ownName(std::wstring_view name, DWORD processId, std::wstring_view suffix) {
    std::size_t kept = std::min(name.size(), roomForName(processId, suffix));
    if (kept > 0 && kept < name.size() && name[kept - 1] >= 0xD800 && name[kept - 1] <= 0xDBFF)
        --kept;
    std::wstring result = L".";
    result.append(name.substr(0, kept));
    result.append(kInfix);
    result.append(std::to_wstring(processId));
    result.append(suffix);
    return result;
}

// The process id in ".<name>.faultward-<id><suffix>", and where the infix starts.
std::optional<std::pair<DWORD, std::size_t>> ownerOf(std::wstring_view name,
                                                     std::wstring_view suffix) {
    if (!name.starts_with(L'.') || !name.ends_with(suffix))
        return std::nullopt;
    const std::size_t infix = name.rfind(kInfix);
    if (infix == std::wstring_view::npos || infix == 0)
        return std::nullopt;
    const std::size_t start = infix + kInfix.size();
    const std::size_t end = name.size() - suffix.size();
    if (start >= end || end - start > 10)
        return std::nullopt;
    unsigned long long id = 0;
    for (std::size_t i = start; i < end; ++i) {
        if (name[i] < L'0' || name[i] > L'9')
            return std::nullopt;
        id = id * 10 + static_cast<unsigned>(name[i] - L'0');
    }
    if (id > std::numeric_limits<DWORD>::max())
        return std::nullopt;
    return std::pair{static_cast<DWORD>(id), infix};
}

} // namespace

std::wstring temporaryName(std::wstring_view name, DWORD processId) {
    return ownName(name, processId, kSuffix);
}

std::optional<DWORD> temporaryOwner(std::wstring_view name) {
    if (const auto owner = ownerOf(name, kSuffix))
        return owner->first;
    return std::nullopt;
}

std::optional<std::wstring> oldBytesCopyName(std::wstring_view name, DWORD processId) {
    if (name.size() > roomForName(processId, kCopySuffix))
        return std::nullopt;
    return ownName(name, processId, kCopySuffix);
}

std::optional<OldBytesCopy> oldBytesCopyOf(std::wstring_view name) {
    const auto owner = ownerOf(name, kCopySuffix);
    if (!owner || owner->second < 2)
        return std::nullopt;
    return OldBytesCopy{owner->first, std::wstring(name.substr(1, owner->second - 1))};
}

} // namespace faultward::win32

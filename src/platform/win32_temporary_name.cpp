#include "platform/win32_temporary_name.h"

#include <limits>

namespace faultward::win32 {
namespace {

constexpr std::wstring_view kInfix = L".faultward-";
constexpr std::wstring_view kSuffix = L".tmp";
constexpr std::size_t kNameLimit = 255;

} // namespace

std::wstring temporaryName(std::wstring_view name, DWORD processId) {
    const std::wstring id = std::to_wstring(processId);
    const std::size_t fixed = 1 + kInfix.size() + id.size() + kSuffix.size();
    std::size_t kept = std::min(name.size(), kNameLimit - fixed);
    if (kept > 0 && kept < name.size() && name[kept - 1] >= 0xD800 && name[kept - 1] <= 0xDBFF)
        --kept;
    std::wstring result = L".";
    result.append(name.substr(0, kept));
    result.append(kInfix);
    result.append(id);
    result.append(kSuffix);
    return result;
}

std::optional<DWORD> temporaryOwner(std::wstring_view name) {
    if (!name.starts_with(L'.') || !name.ends_with(kSuffix))
        return std::nullopt;
    const std::size_t infix = name.rfind(kInfix);
    if (infix == std::wstring_view::npos || infix == 0)
        return std::nullopt;
    const std::size_t start = infix + kInfix.size();
    const std::size_t end = name.size() - kSuffix.size();
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
    return static_cast<DWORD>(id);
}

} // namespace faultward::win32

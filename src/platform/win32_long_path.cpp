#include "platform/win32_long_path.h"

#include <windows.h>

namespace faultward::win32 {
namespace {

constexpr std::wstring_view kExtended = L"\\\\?\\";
constexpr std::wstring_view kDevice = L"\\\\.\\";
constexpr std::wstring_view kExtendedShare = L"\\\\?\\UNC\\";

std::wstring fullPath(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return path; // left to the call that uses it to fail
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length); // the size needed, with the terminating zero
    }
}

// Whether an extended path still needs the resolving that the prefix turns
// off: a relative entry joined to an extended project folder brings "..".
bool needsResolving(std::wstring_view text) {
    if (text.find(L'/') != std::wstring_view::npos)
        return true;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L'\\', start);
        if (end == std::wstring_view::npos)
            end = text.size();
        const std::wstring_view part = text.substr(start, end - start);
        if (part == L"." || part == L"..")
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

std::wstring extendedPath(const std::filesystem::path& path) {
    std::wstring text = path.native();
    if (text.starts_with(kDevice))
        return text;
    if (text.starts_with(kExtended)) {
        // The prefix also keeps names that Windows would otherwise change (a
        // trailing dot, NUL.bas as a file), so such a path is left as it is
        // unless it holds "." or "..".
        if (!needsResolving(std::wstring_view(text).substr(kExtended.size())))
            return text;
        text = text.starts_with(kExtendedShare) ? L"\\\\" + text.substr(kExtendedShare.size())
                                                : text.substr(kExtended.size());
    }
    const std::wstring full = fullPath(text);
    if (full.starts_with(kExtended) || full.starts_with(kDevice))
        return full;
    if (full.starts_with(L"\\\\"))
        return std::wstring(kExtendedShare) + full.substr(2);
    if (full.size() >= 2 && full[1] == L':')
        return std::wstring(kExtended) + full;
    return full;
}

bool isDevicePath(std::wstring_view extended) {
    return extended.starts_with(kDevice);
}

std::wstring joinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring joined(folder);
    if (!joined.empty() && joined.back() != L'\\')
        joined.push_back(L'\\');
    joined.append(name);
    return joined;
}

std::wstring_view folderOf(std::wstring_view path) {
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring_view::npos)
        return L".";
    // A drive's root keeps its backslash: "\\?\C:\".
    if (slash > 0 && path[slash - 1] == L':')
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

std::wstring_view nameOf(std::wstring_view path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

} // namespace faultward::win32

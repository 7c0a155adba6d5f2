#include "platform/folder_listing.h"

#include "platform/win32_long_path.h"
#include "platform/win32_text.h"

#include <windows.h>

#include <climits>
#include <optional>

namespace faultward {
namespace {

// The name in the ANSI code page, which is how a project names its files;
// nothing when a character of it has no place there.
std::optional<std::string> ansiName(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX)
        return std::nullopt;
    const int size = static_cast<int>(wide.size());
    BOOL defaulted = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                             nullptr, 0, nullptr, &defaulted);
    if (length <= 0 || defaulted)
        return std::nullopt;
    std::string ansi(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length,
                          nullptr, &defaulted);
    if (defaulted || win32::wideFromAnsi(ansi) != wide)
        return std::nullopt;
    return ansi;
}

} // namespace

ReadStatus listFolder(const std::filesystem::path& folder, FolderListing& listing) {
    listing = {};
    const std::wstring pattern = win32::joinPath(win32::extendedPath(folder), L"*");
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // The error for a file that is no folder differs between systems;
        // the folder's own attributes tell.
        const DWORD attributes = ::GetFileAttributesW(win32::extendedPath(folder).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return ReadStatus::NotFound;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return ReadStatus::NotRegularFile;
        switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return ReadStatus::Ok; // an empty root
        case ERROR_ACCESS_DENIED:
            return ReadStatus::PermissionDenied;
        default:
            return ReadStatus::NotReadable;
        }
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (const std::optional<std::string> entry = ansiName(name))
            listing.items.push_back({*entry, isFolder});
        else if (!isFolder)
            listing.unnamable.push_back(win32::utf8FromWide(name));
    } while (::FindNextFileW(search, &found));
    const DWORD error = ::GetLastError();
    ::FindClose(search);
    return error == ERROR_NO_MORE_FILES ? ReadStatus::Ok : ReadStatus::NotReadable;
}

} // namespace faultward

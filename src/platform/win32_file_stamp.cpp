#include "platform/file_stamp.h"

#include "platform/win32_file_handle.h"
#include "platform/win32_long_path.h"

#include <algorithm>

#include <windows.h>

namespace faultward {
namespace {

std::int64_t ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                     time.dwLowDateTime);
}

} // namespace

FileStamp fileStamp(const std::filesystem::path& path) {
    const std::wstring name = win32::extendedPath(path);
    if (win32::isDevicePath(name))
        return {};
    win32::FileHandle file(win32::openExisting(name, FILE_READ_ATTRIBUTES, 0));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !::GetFileInformationByHandle(file.get(), &info))
        return {};
    FILE_BASIC_INFO basic{};
    std::int64_t changed = 0;
    if (::GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic))
        changed = basic.ChangeTime.QuadPart;
    return {true,
            (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
            ticks(info.ftLastWriteTime),
            changed,
            {info.dwVolumeSerialNumber,
             (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow},
            (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0};
}

std::chrono::nanoseconds timeSinceChange(const FileStamp& stamp) {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    // File times count 100-nanosecond ticks.
    const std::int64_t since = ticks(now) - std::max(stamp.modified, stamp.changed);
    return since >= 0 ? std::chrono::nanoseconds(since * 100) : std::chrono::nanoseconds::max();
}

bool isSymbolicLink(const std::filesystem::path& path) {
    const std::wstring name = win32::extendedPath(path);
    if (win32::isDevicePath(name))
        return false;
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

} // namespace faultward

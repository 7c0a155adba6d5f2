#include "platform/real_path.h"

#include "platform/win32_file_handle.h"
#include "platform/win32_long_path.h"

#include <string>
#include <string_view>

#include <windows.h>

namespace faultward {

// The system says where the file it opened is, links and junctions
// followed; a folder opens with backup semantics.
std::optional<std::filesystem::path> realPath(const std::filesystem::path& path) {
    const std::wstring extended = win32::extendedPath(path);
    if (win32::isDevicePath(extended))
        return std::nullopt;
    win32::FileHandle file(
        ::CreateFileW(extended.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return std::nullopt;
    std::wstring real(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(file.get(), real.data(), static_cast<DWORD>(real.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return std::nullopt;
        if (length < real.size()) {
            real.resize(length);
            break;
        }
        real.resize(length);
    }
    // \\?\C:\x is C:\x, \\?\UNC\server\share\x is \\server\share\x.
    constexpr std::wstring_view kShare = L"\\\\?\\UNC\\";
    constexpr std::wstring_view kLong = L"\\\\?\\";
    if (std::wstring_view(real).starts_with(kShare))
        real.replace(0, kShare.size(), L"\\\\");
    else if (std::wstring_view(real).starts_with(kLong))
        real.erase(0, kLong.size());
    return std::filesystem::path(real);
}

} // namespace faultward

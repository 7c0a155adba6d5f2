#include "platform/user_folders.h"

#include "platform/win32_file_handle.h"
#include "platform/win32_long_path.h"
#include "platform/win32_temporary_name.h"

#include <shlobj.h>

namespace faultward {

std::optional<std::filesystem::path> userSettingsFolder() {
    PWSTR folder = nullptr;
    if (FAILED(
            ::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder))) {
        ::CoTaskMemFree(folder);
        return std::nullopt;
    }
    std::filesystem::path settings = std::filesystem::path(folder) / L"Faultward";
    ::CoTaskMemFree(folder);
    return settings;
}

// The file's security, not its attributes, decides, and only trying tells:
// a read-only folder attribute means nothing to Windows, and Program Files
// refuses ordinary users whatever the folder's attributes say. The file goes
// when it is closed, or when the process ends first.
bool canCreateFilesIn(const std::filesystem::path& folder) {
    const std::wstring probe = win32::joinPath(
        win32::extendedPath(folder), win32::temporaryName(L"ERRH.ini", ::GetCurrentProcessId()));
    win32::FileHandle file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                         nullptr));
    return static_cast<bool>(file);
}

} // namespace faultward

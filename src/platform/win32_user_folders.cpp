#include "platform/user_folders.h"

#include "platform/win32_file_handle.h"
#include "platform/win32_long_path.h"
#include "platform/win32_temporary_name.h"

#include <shlobj.h>

namespace faultward {

namespace {

std::optional<std::filesystem::path> knownFolder(REFKNOWNFOLDERID id) {
    PWSTR folder = nullptr;
    if (FAILED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &folder))) {
        ::CoTaskMemFree(folder);
        return std::nullopt;
    }
    std::filesystem::path path(folder);
    ::CoTaskMemFree(folder);
    return path;
}

// Whether folder is inside (or is) root, without regard to letter case.
bool isWithin(const std::filesystem::path& folder, const std::filesystem::path& root) {
    std::wstring inner = folder.lexically_normal().wstring();
    std::wstring outer = root.lexically_normal().wstring();
    while (!outer.empty() && (outer.back() == L'\\' || outer.back() == L'/'))
        outer.pop_back();
    if (outer.empty() || inner.size() < outer.size())
        return false;
    if (::CompareStringOrdinal(inner.c_str(), static_cast<int>(outer.size()), outer.c_str(),
                               static_cast<int>(outer.size()), TRUE) != CSTR_EQUAL)
        return false;
    return inner.size() == outer.size() || inner[outer.size()] == L'\\' ||
           inner[outer.size()] == L'/';
}

} // namespace

std::optional<std::filesystem::path> userSettingsFolder() {
    const auto folder = knownFolder(FOLDERID_RoamingAppData);
    return folder ? std::optional(*folder / L"Faultward") : std::nullopt;
}

std::optional<std::filesystem::path> userStateFolder() {
    const auto folder = knownFolder(FOLDERID_LocalAppData);
    return folder ? std::optional(*folder / L"Faultward") : std::nullopt;
}

bool isSharedProgramFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::path real = std::filesystem::weakly_canonical(folder, error);
    if (error)
        real = folder;
    for (const KNOWNFOLDERID& id : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86,
                                    FOLDERID_ProgramFilesX64, FOLDERID_Windows})
        if (const auto root = knownFolder(id); root && isWithin(real, *root))
            return true;
    return false;
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

#include "platform/settings_file_lock.h"

#include "platform/source_file.h"

#include <cstdio>

#include <windows.h>

namespace faultward {

void SettingsFileLock::release() {
    if (held_ != -1) {
        const HANDLE mutex = reinterpret_cast<HANDLE>(held_);
        ::ReleaseMutex(mutex);
        ::CloseHandle(mutex);
    }
    held_ = -1;
}

std::optional<SettingsFileLock> lockSettingsFolder(const std::filesystem::path& file,
                                                   std::chrono::milliseconds wait) {
    // A folder cannot be locked as a file can: a mutex named after the
    // folder's identity, which every name of the folder shares, stands for it.
    // The system lets go of it when its process ends.
    FileIdentity folder;
    if (identifyFile(file.has_parent_path() ? file.parent_path() : ".", folder) != ReadStatus::Ok)
        return SettingsFileLock();
    wchar_t name[80];
    std::swprintf(name, sizeof name / sizeof name[0], L"Local\\Faultward-settings-%llx-%llx",
                  static_cast<unsigned long long>(folder.volume),
                  static_cast<unsigned long long>(folder.file));
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name);
    if (mutex == nullptr)
        return SettingsFileLock();
    const DWORD waited = ::WaitForSingleObject(mutex, static_cast<DWORD>(wait.count()));
    // An owner that ended without letting go leaves it abandoned, and ours.
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        ::CloseHandle(mutex);
        return std::nullopt;
    }
    return SettingsFileLock(reinterpret_cast<std::intptr_t>(mutex));
}

} // namespace faultward

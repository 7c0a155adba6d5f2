#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace faultward {

// Held around each read, change and replace of a settings file (a project's
// NAME.faultward, ERRH.ini), so that this program's processes changing the
// settings files of one folder take turns and none loses another's change.
// It locks the folder, so the lock leaves no file behind, and a process that
// ends lets go of it. Other programs do not take it: whoever holds it still
// looks for changes made meanwhile.
class SettingsFileLock {
public:
    SettingsFileLock() = default; // holds nothing
    SettingsFileLock(SettingsFileLock&& other) noexcept;
    SettingsFileLock& operator=(SettingsFileLock&& other) noexcept;
    SettingsFileLock(const SettingsFileLock&) = delete;
    SettingsFileLock& operator=(const SettingsFileLock&) = delete;
    ~SettingsFileLock();

private:
    friend std::optional<SettingsFileLock> lockSettingsFolder(const std::filesystem::path&,
                                                              std::chrono::milliseconds);
    explicit SettingsFileLock(std::intptr_t held) : held_(held) {}
    void release();
    std::intptr_t held_ = -1;
};

// The lock of the folder that holds file, waited for at most wait; nothing
// when another process held it all that time. A folder that cannot be
// opened for it (not there yet, not readable) gives a lock that holds
// nothing.
std::optional<SettingsFileLock> lockSettingsFolder(const std::filesystem::path& file,
                                                   std::chrono::milliseconds wait);

} // namespace faultward

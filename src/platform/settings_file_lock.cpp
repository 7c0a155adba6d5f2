#include "platform/settings_file_lock.h"

namespace faultward {

// Moves and the end of a lock; how it is held and let go is each system's.
SettingsFileLock::SettingsFileLock(SettingsFileLock&& other) noexcept : held_(other.held_) {
    other.held_ = -1;
}

SettingsFileLock& SettingsFileLock::operator=(SettingsFileLock&& other) noexcept {
    if (this != &other) {
        release();
        held_ = other.held_;
        other.held_ = -1;
    }
    return *this;
}

SettingsFileLock::~SettingsFileLock() {
    release();
}

} // namespace faultward

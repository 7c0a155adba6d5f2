#include "platform/settings_file_lock.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace faultward {

void SettingsFileLock::release() {
    // Closing the folder lets go of the lock.
    if (held_ >= 0)
        ::close(static_cast<int>(held_));
    held_ = -1;
}

std::optional<SettingsFileLock> lockSettingsFolder(const std::filesystem::path& file,
                                                   std::chrono::milliseconds wait) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return SettingsFileLock();
    // flock, not fcntl: it holds for the open folder, so two threads of one
    // process take turns as two processes do.
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(1);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            // A file system without locks: the look for changes remains.
            ::close(fd);
            return SettingsFileLock();
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return std::nullopt;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    return SettingsFileLock(fd);
}

} // namespace faultward

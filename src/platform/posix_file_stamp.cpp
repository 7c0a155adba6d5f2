#include "platform/file_stamp.h"

#include <algorithm>
#include <sys/stat.h>
#include <time.h>

namespace faultward {
namespace {

std::int64_t nanoseconds(const struct timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

} // namespace

FileStamp fileStamp(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return {true,
            static_cast<std::uint64_t>(info.st_size),
            nanoseconds(info.st_mtim),
            nanoseconds(info.st_ctim),
            {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)},
            S_ISREG(info.st_mode)};
}

std::chrono::nanoseconds timeSinceChange(const FileStamp& stamp) {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t since = nanoseconds(now) - std::max(stamp.modified, stamp.changed);
    return since >= 0 ? std::chrono::nanoseconds(since) : std::chrono::nanoseconds::max();
}

bool isSymbolicLink(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

} // namespace faultward

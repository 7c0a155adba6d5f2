#include "platform/journal_system.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

std::string firstLineOf(const char* path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// When a process started, in clock ticks since the boot: field 22 of its
// stat line, counted after the name, which may hold spaces and parentheses.
std::string startTicks(const std::string& stat) {
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return {};
    std::size_t at = close + 2;
    for (int field = 3; field < 22 && at < stat.size(); ++field) {
        at = stat.find(' ', at);
        if (at == std::string::npos)
            return {};
        ++at;
    }
    return stat.substr(at, stat.find(' ', at) - at);
}

// The boot and the start of a process: together they are never given to
// another process. Empty where the system does not tell.
std::string startOf(pid_t pid) {
    const std::string boot = firstLineOf("/proc/sys/kernel/random/boot_id");
    const std::string ticks =
        startTicks(firstLineOf(("/proc/" + std::to_string(pid) + "/stat").c_str()));
    if (boot.empty() || ticks.empty())
        return {};
    return boot + "/" + ticks;
}

class PosixJournalFile final : public JournalFile {
public:
    PosixJournalFile(int fd, fs::path path) : fd_(fd), path_(std::move(path)) {}
    ~PosixJournalFile() override { ::close(fd_); }

    bool append(std::string_view bytes, bool durable) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return !durable || ::fdatasync(fd_) == 0;
    }

    std::optional<std::string> contents() override { return readAll(fd_); }

    bool clear() override { return ::ftruncate(fd_, 0) == 0; }

    void remove() override { ::unlink(path_.c_str()); }

    static std::optional<std::string> readAll(int fd) {
        std::string text;
        char buffer[16384];
        for (off_t offset = 0;;) {
            const ssize_t got = ::pread(fd, buffer, sizeof buffer, offset);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return std::nullopt;
            if (got == 0)
                return text;
            text.append(buffer, static_cast<std::size_t>(got));
            offset += got;
        }
    }

private:
    int fd_;
    fs::path path_;
};

// A journal is this user's own regular file, never reached through a link.
int openJournal(const fs::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::optional<FileStamp> stampOf(const fs::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileStamp{
        .exists = true,
        .size = static_cast<std::uint64_t>(info.st_size),
        .modified = nanoseconds(info.st_mtim),
        .changed = nanoseconds(info.st_ctim),
        .identity = {static_cast<std::uint64_t>(info.st_dev),
                     static_cast<std::uint64_t>(info.st_ino)},
        .regular = S_ISREG(info.st_mode)};
}

ProcessMark thisProcess() {
    static const ProcessMark self{static_cast<std::uint64_t>(::getpid()), startOf(::getpid())};
    return self;
}

bool processRunning(const ProcessMark& process) {
    const auto pid = static_cast<pid_t>(process.id);
    if (pid <= 0 || static_cast<std::uint64_t>(pid) != process.id)
        return false;
    if (::kill(pid, 0) != 0 && errno != EPERM)
        return false;
    // A process of that id runs: the same one only if it started when that did.
    const std::string start = process.start.empty() ? std::string() : startOf(pid);
    return start.empty() || start == process.start;
}

bool removeFile(const fs::path& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool makePrivateFolder(const fs::path& folder) {
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool writePrivateFile(const fs::path& path, std::span<const std::string_view> pieces) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    bool written = true;
    for (std::string_view piece : pieces)
        while (written && !piece.empty()) {
            const ssize_t done = ::write(fd, piece.data(), piece.size());
            if (done < 0 && errno == EINTR)
                continue;
            written = done > 0;
            if (written)
                piece.remove_prefix(static_cast<std::size_t>(done));
        }
    written = written && ::fdatasync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

std::unique_ptr<JournalFile> JournalFile::create(const fs::path& path) {
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return nullptr;
    // Held for the life of the process; a file system without locks still
    // has the process's id in the journal to go by.
    (void)::flock(fd, LOCK_EX | LOCK_NB);
    return std::make_unique<PosixJournalFile>(fd, path);
}

std::unique_ptr<JournalFile> JournalFile::claim(const fs::path& path) {
    const int fd = openJournal(path, O_RDWR | O_APPEND);
    if (fd < 0)
        return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR)) {
        ::close(fd);
        return nullptr;
    }
    // Whoever held it last may have removed it before letting go.
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0 || ::lstat(path.c_str(), &named) != 0 ||
        held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixJournalFile>(fd, path);
}

std::optional<std::string> JournalFile::peek(const fs::path& path) {
    const int fd = openJournal(path, O_RDONLY);
    if (fd < 0)
        return std::nullopt;
    auto text = PosixJournalFile::readAll(fd);
    ::close(fd);
    return text;
}

} // namespace faultward

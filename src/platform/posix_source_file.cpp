#include "platform/source_file.h"

#include "platform/journal_system.h"
#include "platform/run_journal.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <string.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace faultward {
namespace {

constexpr std::string_view kTempInfix = ".faultward-";
constexpr std::string_view kTempSuffix = ".tmp";
// The old bytes of a file being written in place.
constexpr std::string_view kCopySuffix = ".old";

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    bool valid() const { return fd_ >= 0; }
    // Closes now so that a failing close (delayed write errors) can be seen.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

FileIdentity identityOf(const struct stat& info) {
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

bool isMissing(int error) {
    return error == ENOENT || error == ENOTDIR || error == ELOOP || error == ENAMETOOLONG;
}

// Looking a path up is refused only by a folder on the way; opening the
// file, by the file itself.
ReadStatus lookupStatusFromErrno(int error) {
    if (isMissing(error))
        return ReadStatus::NotFound;
    return error == EACCES ? ReadStatus::FolderPermissionDenied : ReadStatus::NotReadable;
}

ReadStatus openStatusFromErrno(int error) {
    if (error == EACCES || error == EPERM)
        return ReadStatus::PermissionDenied;
    return error == EISDIR ? ReadStatus::IsFolder : lookupStatusFromErrno(error);
}

// Why writing, flushing or renaming failed. A refusal is the folder's when
// the file itself was already found writable.
WriteStatus writeStatusFromErrno(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return WriteStatus::NoSpace;
    case EFBIG:
        return WriteStatus::TooLarge;
    case EACCES:
    case EPERM:
        return WriteStatus::FolderPermissionDenied;
    case EISDIR:
        return WriteStatus::IsFolder;
    case ETXTBSY:
        return WriteStatus::InUse;
    case EROFS:
        return WriteStatus::NotWritable;
    default:
        return isMissing(error) ? WriteStatus::NotFound : WriteStatus::WriteFailed;
    }
}

// Writes the pieces in order with gathered writes, going on after a short one.
bool writeAll(int fd, std::span<const std::string_view> pieces) {
    // Enough for a large file's runs in one call.
#ifdef IOV_MAX
    constexpr std::size_t kBatch = IOV_MAX < 1024 ? IOV_MAX : 1024;
#else
    constexpr std::size_t kBatch = 16; // the least any system allows
#endif
    iovec batch[kBatch];
    std::size_t next = 0; // first piece not yet wholly written
    std::size_t done = 0; // bytes of pieces[next] already written
    for (;;) {
        while (next < pieces.size() && done == pieces[next].size()) {
            ++next;
            done = 0;
        }
        if (next == pieces.size())
            return true;
        std::size_t count = 0;
        for (std::size_t i = next; i < pieces.size() && count < kBatch; ++i) {
            const std::string_view piece = pieces[i].substr(i == next ? done : 0);
            batch[count++] = iovec{const_cast<char*>(piece.data()), piece.size()};
        }
        const ssize_t written = ::writev(fd, batch, static_cast<int>(count));
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = EIO;
        if (written <= 0)
            return false;
        for (auto left = static_cast<std::size_t>(written); left > 0;) {
            const std::size_t step = std::min(left, pieces[next].size() - done);
            done += step;
            left -= step;
            if (done == pieces[next].size()) {
                ++next;
                done = 0;
            }
        }
    }
}

// The program never forks without exec, so its pid is asked for once.
const std::string& ownPid() {
    static const std::string pid = std::to_string(::getpid());
    return pid;
}

// How much of a name fits in ".<name>.faultward-<pid><suffix>" within the
// file system's limit on one name.
std::size_t roomForName(std::string_view suffix) {
    const std::size_t fixed = 1 + kTempInfix.size() + ownPid().size() + suffix.size();
    return NAME_MAX > fixed ? NAME_MAX - fixed : 0;
}

// ".<name>.faultward-<pid><suffix>", with the name shortened to fit.
std::string ownName(const std::string& name, std::string_view suffix) {
    std::string result = ".";
    result.append(name, 0, std::min(name.size(), roomForName(suffix)));
    result.append(kTempInfix);
    result.append(ownPid());
    result.append(suffix);
    return result;
}

std::string temporaryName(const std::string& name) {
    return ownName(name, kTempSuffix);
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Takes a lock on a file with other names (LOCK_SH to read, LOCK_EX to
// write it in place). Locks are advisory: they keep our own runs apart and
// anyone else who asks. A holder that keeps it for seconds is taken to be
// another program that does not let go.
bool lockForAWhile(int fd, int operation) {
    constexpr int kTries = 500; // 5 s
    for (int i = 0; i < kTries; ++i) {
        if (::flock(fd, operation | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return true; // a file system without locks
        ::usleep(10000);
    }
    return false;
}

// Makes room for size bytes. A large file's buffer asks for huge pages: the
// first touch of every small page costs a fault, about 10 us in a virtual
// machine, and a 43 MB file took 0.17 s to read that way, 0.02 s in huge pages.
void growBuffer(std::string& buffer, std::size_t size) {
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (size >= 2 * kHugePage && buffer.capacity() < size) {
        buffer.reserve(size);
        const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
        const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
        const std::uintptr_t last = (start + size) & ~(kHugePage - 1);
        if (last > first)
            (void)::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
    buffer.resize(size);
}

// Reads to the end of the file into buffer. The size is a hint only: the file
// may grow or shrink while it is read. Growing only (never clearing first)
// spares zero-filling a reused buffer.
bool readAll(int fd, std::size_t sizeHint, std::string& buffer) {
    if (buffer.size() < sizeHint + 1)
        growBuffer(buffer, sizeHint + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == buffer.size())
            growBuffer(buffer, buffer.size() * 2);
        const std::size_t wanted = buffer.size() - filled;
        const ssize_t got = ::read(fd, buffer.data() + filled, wanted);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            buffer.clear();
            return false;
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
        // A short read that reached the size the file had when opened is its
        // end: the extra read that would return nothing is spared. A short read
        // before that (a signal, say) goes on reading.
        if (static_cast<std::size_t>(got) < wanted && filled >= sizeHint)
            break;
    }
    buffer.resize(filled);
    return true;
}

// Creates the temporary exclusively. A file that already has its name is
// left alone, whoever made it: the write fails instead.
int openTemporary(const std::filesystem::path& temporary, mode_t mode) {
    return ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
}

std::optional<FileIdentity> identityOfOpen(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return identityOf(info);
}

// The journal's record of a temporary it has just seen made.
void recordTemporary(JournalRecord& record, int fd) {
    if (const auto identity = identityOfOpen(fd))
        record.temporaryMade(*identity);
}

std::filesystem::path folderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// Writes the bytes to the open temporary, puts them on disk, and renames the
// temporary over the target; on any failure the temporary goes and the target
// is untouched. The data must be on disk before the rename makes it the file.
// When written is given it receives the temporary's status, and beforeRename
// may then still adjust the open file (and fail). Gives 0, or the failure's errno.
template <typename BeforeRename>
int commitTemporary(FileDescriptor& fd, const std::filesystem::path& temporary,
                    const std::filesystem::path& target, std::span<const std::string_view> pieces,
                    struct stat* written, BeforeRename beforeRename) {
    const bool complete = writeAll(fd.get(), pieces) && ::fsync(fd.get()) == 0 &&
                          (!written || ::fstat(fd.get(), written) == 0) && beforeRename() &&
                          fd.close();
    if (!complete || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return error;
    }
    return 0;
}

// The owner when we may give the file away (root), else the group alone:
// a shared file must stay writable to the team whose group it has.
void keepOwnership(int fd, const struct stat& info) {
    static const uid_t user = ::geteuid();
    static const gid_t group = ::getegid();
    if (info.st_uid == user && info.st_gid == group)
        return;
    if (::fchown(fd, info.st_uid, info.st_gid) != 0)
        (void)!::fchown(fd, static_cast<uid_t>(-1), info.st_gid);
}

bool writeAllAt(int fd, const char* data, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = EIO;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
        offset += written;
    }
    return true;
}

// Makes to hold exactly what from holds, and flushes it.
bool copyContents(int from, int to) {
    char buffer[65536];
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(from, buffer, sizeof buffer, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (!writeAllAt(to, buffer, static_cast<std::size_t>(got), offset))
            return false;
        offset += got;
    }
    return ::ftruncate(to, offset) == 0 && ::fsync(to) == 0;
}

// Writes the old bytes from the copy back into the file and removes the
// copy; false (the copy kept) when they could not all go back.
bool putBackFromCopy(int file, const std::filesystem::path& copy,
                     const std::filesystem::path& folder) {
    FileDescriptor saved(::open(copy.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!saved.valid() || !copyContents(saved.get(), file))
        return false;
    ::unlink(copy.c_str());
    syncFolder(folder);
    return true;
}

std::size_t totalSize(std::span<const std::string_view> pieces) {
    std::size_t total = 0;
    for (std::string_view piece : pieces)
        total += piece.size();
    return total;
}

// The road for a file with more than one name: a rename would give only one
// of them the new bytes. The copy of the old bytes and its name are on disk
// before the file is touched, so an interruption at any point leaves the
// file or the copy whole; a failing write puts the old bytes straight back.
WriteStatus rewriteInPlace(const std::filesystem::path& target, const std::filesystem::path& folder,
                           const struct stat& info, std::span<const std::string_view> pieces,
                           FileIdentity* newIdentity) {
    FileDescriptor file(
        ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
    if (!file.valid())
        return errno == EACCES || errno == EPERM ? WriteStatus::PermissionDenied
                                                 : writeStatusFromErrno(errno);
    struct stat opened {};
    if (::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return WriteStatus::WriteFailed;
    // Our own readers wait while the file is between its old and new bytes.
    if (!lockForAWhile(file.get(), LOCK_EX))
        return WriteStatus::InUse;

    // The copy is written under a temporary's name and takes its own only
    // when whole: a copy cut short must never be put back.
    const std::string name = target.filename().string();
    const std::string partialName = temporaryName(name);
    const std::string copyName = ownName(name, kCopySuffix);
    const std::filesystem::path partial = folder / partialName;
    const std::filesystem::path copy = folder / copyName;
    JournalRecord record =
        RunJournal::ofThisProcess().replacing(target, stampOf(target), partialName, copyName);
    {
        FileDescriptor saved(openTemporary(partial, info.st_mode & 0777));
        if (!saved.valid()) {
            record.finish();
            return writeStatusFromErrno(errno);
        }
        recordTemporary(record, saved.get());
        keepOwnership(saved.get(), info);
        // A link, not a rename: never over another copy, which may hold the
        // only whole old bytes.
        if (!copyContents(file.get(), saved.get()) || !saved.close() ||
            ::link(partial.c_str(), copy.c_str()) != 0) {
            const int error = errno;
            ::unlink(partial.c_str());
            record.finish();
            return writeStatusFromErrno(error);
        }
        ::unlink(partial.c_str());
    }
    // The copy's name must outlive a power cut as surely as its bytes.
    syncFolder(folder);
    record.writingInPlace(pieces);

    const auto size = static_cast<off_t>(totalSize(pieces));
    const bool written = ::lseek(file.get(), 0, SEEK_SET) == 0 && writeAll(file.get(), pieces) &&
                         ::ftruncate(file.get(), size) == 0 && ::fsync(file.get()) == 0;
    if (!written) {
        const int error = errno;
        // Old bytes that could not go back stay in the copy, and the record
        // open, for a later run.
        if (putBackFromCopy(file.get(), copy, folder))
            record.finish();
        return writeStatusFromErrno(error);
    }
    ::unlink(copy.c_str());
    // Else a power cut could bring the copy back, and a later run would put
    // the old bytes back over the new.
    syncFolder(folder);
    record.finish();
    if (newIdentity)
        *newIdentity = identityOf(opened);
    return WriteStatus::Ok;
}

} // namespace

ReadStatus readRegularFile(const std::filesystem::path& path, std::string& buffer,
                           FileIdentity* identity) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return lookupStatusFromErrno(errno);
    if (S_ISDIR(info.st_mode))
        return ReadStatus::IsFolder;
    if (!S_ISREG(info.st_mode))
        return ReadStatus::NotRegularFile;
    // O_NONBLOCK: should the file be swapped for a FIFO after the check, the
    // open must not wait for a writer.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid())
        return openStatusFromErrno(errno);
    if (::fstat(fd.get(), &info) != 0)
        return ReadStatus::NotReadable;
    if (S_ISDIR(info.st_mode))
        return ReadStatus::IsFolder;
    if (!S_ISREG(info.st_mode))
        return ReadStatus::NotRegularFile;
    // A file with other names is written in place; wait for a run of ours
    // that is doing so, rather than read half its new bytes.
    if (info.st_nlink > 1 && !lockForAWhile(fd.get(), LOCK_SH))
        return ReadStatus::InUse;

    bool complete = false;
    try {
        complete = readAll(fd.get(), static_cast<std::size_t>(info.st_size), buffer);
    } catch (const std::bad_alloc&) {
        // More than the memory at hand: the file is not read, and the memory
        // goes back for the files after it.
        std::string().swap(buffer);
        return ReadStatus::TooLarge;
    }
    if (!complete)
        return ReadStatus::NotReadable;
    if (identity)
        *identity = identityOf(info);
    return ReadStatus::Ok;
}

ReadStatus identifyFile(const std::filesystem::path& path, FileIdentity& identity) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return lookupStatusFromErrno(errno);
    identity = identityOf(info);
    return ReadStatus::Ok;
}

WriteStatus replaceFileContents(const std::filesystem::path& path,
                                std::span<const std::string_view> pieces,
                                FileIdentity* newIdentity) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno == EACCES ? WriteStatus::FolderPermissionDenied : writeStatusFromErrno(errno);
    std::filesystem::path target = path;
    if (S_ISLNK(info.st_mode)) {
        // Replace the link's target, not the link.
        char resolved[PATH_MAX];
        if (!::realpath(path.c_str(), resolved) || ::stat(resolved, &info) != 0)
            return errno == EACCES ? WriteStatus::FolderPermissionDenied
                                   : writeStatusFromErrno(errno);
        target = resolved;
    }
    if (S_ISDIR(info.st_mode))
        return WriteStatus::IsFolder;
    if (!S_ISREG(info.st_mode))
        return WriteStatus::NotWritable;
    // Read-only in the Windows sense: no write permission in the bits. Root could
    // write anyway, and a rename would succeed regardless, so test the bits.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return WriteStatus::NotWritable;
    static const uid_t user = ::geteuid();
    if (user != 0 && ::access(target.c_str(), W_OK) != 0)
        return errno == EROFS ? WriteStatus::NotWritable : WriteStatus::PermissionDenied;

    const std::filesystem::path folder = folderOf(target);
    RunJournal& journal = RunJournal::ofThisProcess();
    journal.settleBefore(target);
    // A name too long to be read back from its copy's name keeps the rename
    // road: its other names keep the old bytes, but nothing is put at risk.
    if (info.st_nlink > 1 && target.filename().string().size() <= roomForName(kCopySuffix))
        return rewriteInPlace(target, folder, info, pieces, newIdentity);

    const std::string temporaryFile = temporaryName(target.filename().string());
    const std::filesystem::path temporary = folder / temporaryFile;
    JournalRecord record = journal.replacing(target, stampOf(target), temporaryFile);
    // Created with the file's own permission bits, so that only a umask that
    // takes some away (or special bits) costs a change of mode afterwards.
    const mode_t mode = info.st_mode & 07777;
    FileDescriptor fd(openTemporary(temporary, mode & 0777));
    if (!fd.valid()) {
        record.finish();
        return writeStatusFromErrno(errno);
    }
    recordTemporary(record, fd.get());

    // Ownership is best effort: only root may give a file away, and a file
    // that keeps another owner is still whole.
    keepOwnership(fd.get(), info);
    // No sync of the folder after the rename: it would only decide whether the
    // old or the new bytes survive a power cut, and both are whole.
    struct stat written {};
    const auto keepMode = [&] {
        return (written.st_mode & 07777) == mode || ::fchmod(fd.get(), mode) == 0;
    };
    const int error = commitTemporary(fd, temporary, target, pieces, &written, keepMode);
    record.finish();
    if (error)
        return writeStatusFromErrno(error);
    if (newIdentity)
        *newIdentity = identityOf(written);
    return WriteStatus::Ok;
}

WriteStatus replaceFileContents(const std::filesystem::path& path, std::string_view bytes,
                                FileIdentity* newIdentity) {
    return replaceFileContents(path, std::span(&bytes, 1), newIdentity);
}

WriteStatus createOrReplaceFile(const std::filesystem::path& path, std::string_view bytes) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        return replaceFileContents(path, bytes);
    const std::filesystem::path folder = folderOf(path);
    RunJournal& journal = RunJournal::ofThisProcess();
    journal.settleBefore(path);
    const std::string temporaryFile = temporaryName(path.filename().string());
    const std::filesystem::path temporary = folder / temporaryFile;
    JournalRecord record = journal.replacing(path, std::nullopt, temporaryFile);
    FileDescriptor fd(openTemporary(temporary, 0666));
    if (!fd.valid()) {
        record.finish();
        return writeStatusFromErrno(errno);
    }
    recordTemporary(record, fd.get());
    const int error =
        commitTemporary(fd, temporary, path, std::span(&bytes, 1), nullptr, [] { return true; });
    record.finish();
    if (error)
        return writeStatusFromErrno(error);
    // A new file must still be there after a power cut, so its folder is synced.
    syncFolder(folder);
    return WriteStatus::Ok;
}

bool writeBackInPlace(const std::filesystem::path& path, const FileStamp& expected,
                      const std::filesystem::path& copy) {
    FileDescriptor file(
        ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
    if (!file.valid() || !lockForAWhile(file.get(), LOCK_EX))
        return false;
    // Judged before the lock: the file must not have changed since.
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || stampOf(path) != expected ||
        identityOf(info) != expected.identity)
        return false;
    FileDescriptor saved(::open(copy.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    return saved.valid() && copyContents(saved.get(), file.get());
}

std::vector<LeftoverName> leftoverNamesIn(const std::filesystem::path& folder) {
    std::vector<LeftoverName> found;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        const bool copy = name.ends_with(kCopySuffix);
        if (!name.starts_with('.') || !(copy || name.ends_with(kTempSuffix)))
            continue;
        const std::size_t infix = name.rfind(kTempInfix);
        if (infix == std::string_view::npos || infix <= 1)
            continue;
        const std::size_t suffix = copy ? kCopySuffix.size() : kTempSuffix.size();
        const std::string_view digits = name.substr(
            infix + kTempInfix.size(), name.size() - infix - kTempInfix.size() - suffix);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos ||
            digits.size() > 19)
            continue;
        found.push_back({folder / std::string(name),
                         folder / std::string(name.substr(1, infix - 1)),
                         std::stoull(std::string(digits)), copy});
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end(),
              [](const LeftoverName& a, const LeftoverName& b) { return a.path < b.path; });
    return found;
}

} // namespace faultward

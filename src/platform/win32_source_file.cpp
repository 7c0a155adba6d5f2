#include "platform/source_file.h"

#include "platform/journal_system.h"
#include "platform/path_bytes.h"
#include "platform/run_journal.h"
#include "platform/win32_file_handle.h"
#include "platform/win32_long_path.h"
#include "platform/win32_temporary_name.h"

#include <algorithm>
#include <new>
#include <optional>

namespace faultward {
namespace {

using win32::FileHandle;

// One ReadFile or WriteFile moves at most a DWORD's worth; a gigabyte a call.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

bool isMissingError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_CANT_RESOLVE_FILENAME: // a loop of links
        return true;
    default:
        return false;
    }
}

ReadStatus readStatusFrom(DWORD error) {
    if (isMissingError(error))
        return ReadStatus::NotFound;
    if (win32::isInUseError(error))
        return ReadStatus::InUse;
    return error == ERROR_ACCESS_DENIED ? ReadStatus::PermissionDenied : ReadStatus::NotReadable;
}

// Why writing, flushing or putting a file in place failed. A refusal is the
// folder's when the file itself was already found writable.
WriteStatus writeStatusFrom(DWORD error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return WriteStatus::NoSpace;
    case ERROR_FILE_TOO_LARGE:
        return WriteStatus::TooLarge;
    case ERROR_ACCESS_DENIED:
        return WriteStatus::FolderPermissionDenied;
    case ERROR_WRITE_PROTECT:
        return WriteStatus::NotWritable;
    default:
        if (win32::isInUseError(error))
            return WriteStatus::InUse;
        return isMissingError(error) ? WriteStatus::NotFound : WriteStatus::WriteFailed;
    }
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

std::uint64_t sizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
}

// Reads to the end of the file into buffer, the size being a hint only, as on
// the other systems. ReadFile on a file handle passes every byte as it is: no
// line ends are changed and Ctrl-Z does not end the file.
bool readAll(HANDLE file, std::size_t sizeHint, std::string& buffer, DWORD& error) {
    if (buffer.size() < sizeHint + 1)
        buffer.resize(sizeHint + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == buffer.size())
            buffer.resize(buffer.size() * 2);
        const auto wanted = static_cast<DWORD>(std::min(buffer.size() - filled, kMaxTransfer));
        DWORD got = 0;
        if (!::ReadFile(file, buffer.data() + filled, wanted, &got, nullptr)) {
            error = ::GetLastError();
            buffer.clear();
            return false;
        }
        if (got == 0)
            break;
        filled += got;
        if (got < wanted && filled >= sizeHint)
            break;
    }
    buffer.resize(filled);
    return true;
}

bool writeRaw(HANDLE file, const char* data, std::size_t size) {
    while (size > 0) {
        const auto chunk = static_cast<DWORD>(std::min(size, kMaxTransfer));
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// Writes the pieces in order. Windows has no gathered write for ordinary
// handles, and a removal leaves thousands of short runs, so they are joined
// in a buffer of a megabyte first; long pieces go straight through.
bool writeAll(HANDLE file, std::span<const std::string_view> pieces) {
    constexpr std::size_t kStaging = std::size_t{1} << 20;
    std::size_t total = 0;
    for (std::string_view piece : pieces)
        total += piece.size();
    std::string staging;
    staging.reserve(std::min(kStaging, total));
    for (std::string_view piece : pieces) {
        if (staging.size() + piece.size() > kStaging) {
            if (!writeRaw(file, staging.data(), staging.size()))
                return false;
            staging.clear();
        }
        if (piece.size() >= kStaging) {
            if (!writeRaw(file, piece.data(), piece.size()))
                return false;
        } else {
            staging.append(piece);
        }
    }
    return writeRaw(file, staging.data(), staging.size());
}

// Creates the temporary exclusively. A file that already has its name is
// left alone, whoever made it: the write fails instead.
HANDLE createTemporary(const std::wstring& temporary) {
    return ::CreateFileW(temporary.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The journal's record of a temporary it has just seen made.
void recordTemporary(JournalRecord& record, HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileInformationByHandle(file, &info))
        record.temporaryMade(identityOf(info));
}

std::string narrowName(std::wstring_view name) {
    return bytesFromPath(std::filesystem::path(std::wstring(name)));
}

// Writes the bytes into a new temporary beside target and puts them on disk;
// the temporary's name on success. On failure nothing is left behind.
std::optional<std::wstring> writeTemporary(const std::wstring& target,
                                           std::span<const std::string_view> pieces,
                                           JournalRecord& record, WriteStatus& failure) {
    const std::wstring name = win32::temporaryName(win32::nameOf(target), ::GetCurrentProcessId());
    const std::wstring temporary = win32::joinPath(win32::folderOf(target), name);
    record = RunJournal::ofThisProcess().replacing(target, stampOf(target), narrowName(name));
    FileHandle file(createTemporary(temporary));
    if (!file) {
        failure = writeStatusFrom(::GetLastError());
        return std::nullopt;
    }
    recordTemporary(record, file.get());
    if (!writeAll(file.get(), pieces) || !::FlushFileBuffers(file.get()) || !file.close()) {
        failure = writeStatusFrom(::GetLastError());
        file.reset();
        ::DeleteFileW(temporary.c_str());
        return std::nullopt;
    }
    return temporary;
}

bool moveOver(const std::wstring& from, const std::wstring& to) {
    return win32::retryWhileInUse([&] {
        return ::MoveFileExW(from.c_str(), to.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
}

// Why target could not be replaced: held by another program, or not ours to
// change.
WriteStatus replaceFailure(const std::wstring& target) {
    FileHandle probe(::CreateFileW(target.c_str(), DELETE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    if (probe)
        return WriteStatus::WriteFailed;
    const DWORD error = ::GetLastError();
    if (win32::isInUseError(error))
        return WriteStatus::InUse;
    return error == ERROR_ACCESS_DENIED ? WriteStatus::PermissionDenied : WriteStatus::WriteFailed;
}

// Puts the flushed temporary in target's place. ReplaceFileW keeps what
// belongs to the file rather than to its bytes: its security descriptor, its
// attributes, its creation time, its other streams.
WriteStatus replaceWithTemporary(const std::wstring& target, const std::wstring& temporary) {
    constexpr DWORD kFlags = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
    const bool replaced = win32::retryWhileInUse([&] {
        return ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, kFlags, nullptr,
                              nullptr) != 0;
    });
    if (replaced)
        return WriteStatus::Ok;
    switch (::GetLastError()) {
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        // The old file is gone already and the temporary holds the only copy
        // of the contents: it must take the name. Should even that fail, it
        // takes a name that a later run's clean-up leaves alone.
        if (moveOver(temporary, target))
            return WriteStatus::Ok;
        moveOver(temporary, target + L".faultward-saved");
        return WriteStatus::WriteFailed;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_NAME: // wine 8 beyond MAX_PATH, depending on what its stack holds
        // Some network file systems cannot replace; a rename still keeps
        // the file whole.
        if (moveOver(temporary, target))
            return WriteStatus::Ok;
        break;
    default:
        break;
    }
    ::DeleteFileW(temporary.c_str());
    return replaceFailure(target);
}

// Makes to hold exactly what from holds, from the start, and flushes it.
bool copyContents(HANDLE from, HANDLE to) {
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(from, start, nullptr, FILE_BEGIN) ||
        !::SetFilePointerEx(to, start, nullptr, FILE_BEGIN))
        return false;
    std::string buffer(65536, '\0');
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
            return false;
        if (got == 0)
            break;
        if (!writeRaw(to, buffer.data(), got))
            return false;
    }
    return ::SetEndOfFile(to) && ::FlushFileBuffers(to);
}

// Opens a file for reading and writing, shared with no one, so that no
// program reads it while it is between its old and new bytes.
HANDLE openUnshared(const std::wstring& name) {
    HANDLE handle = INVALID_HANDLE_VALUE;
    win32::retryWhileInUse([&] {
        handle = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return handle != INVALID_HANDLE_VALUE;
    });
    return handle;
}

// Writes the old bytes from the copy back into the file and removes the
// copy; false (the copy kept) when they could not all go back.
bool putBackFromCopy(HANDLE file, const std::wstring& copy) {
    FileHandle saved(win32::openExisting(copy, GENERIC_READ, FILE_FLAG_SEQUENTIAL_SCAN));
    if (!saved || !copyContents(saved.get(), file))
        return false;
    saved.reset();
    return ::DeleteFileW(copy.c_str()) != 0;
}

// The road for a file with more than one name: a replace would give only one
// of them the new bytes. The copy of the old bytes is flushed and under its
// own name before the file is touched, so an interruption at any point
// leaves the file or the copy whole; a failing write puts the old bytes
// straight back.
WriteStatus rewriteInPlace(const std::wstring& target, const std::wstring& copyName,
                           std::span<const std::string_view> pieces, FileIdentity* newIdentity) {
    const std::optional<FileStamp> before = stampOf(target);
    FileHandle file(openUnshared(target));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error == ERROR_ACCESS_DENIED ? WriteStatus::PermissionDenied
                                            : writeStatusFrom(error);
    }
    const std::wstring_view folder = win32::folderOf(target);
    // Written under a temporary's name; it takes its own only when whole, and
    // never over another copy, which may hold the only whole old bytes.
    const std::wstring partialName =
        win32::temporaryName(win32::nameOf(target), ::GetCurrentProcessId());
    const std::wstring partial = win32::joinPath(folder, partialName);
    const std::wstring copy = win32::joinPath(folder, copyName);
    JournalRecord record = RunJournal::ofThisProcess().replacing(
        target, before, narrowName(partialName), narrowName(copyName));
    {
        FileHandle saved(createTemporary(partial));
        if (!saved) {
            record.finish();
            return writeStatusFrom(::GetLastError());
        }
        recordTemporary(record, saved.get());
        const bool whole = copyContents(file.get(), saved.get()) && saved.close() &&
                           ::MoveFileExW(partial.c_str(), copy.c_str(), MOVEFILE_WRITE_THROUGH);
        if (!whole) {
            const DWORD error = ::GetLastError();
            saved.reset();
            ::DeleteFileW(partial.c_str());
            record.finish();
            return writeStatusFrom(error);
        }
    }
    record.writingInPlace(pieces);
    LARGE_INTEGER start{};
    const bool written = ::SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) &&
                         writeAll(file.get(), pieces) && ::SetEndOfFile(file.get()) &&
                         ::FlushFileBuffers(file.get());
    if (!written) {
        const DWORD error = ::GetLastError();
        // Old bytes that could not go back stay in the copy, and the record
        // open, for a later run.
        if (putBackFromCopy(file.get(), copy))
            record.finish();
        return writeStatusFrom(error);
    }
    ::DeleteFileW(copy.c_str());
    record.finish();
    BY_HANDLE_FILE_INFORMATION info;
    if (newIdentity && ::GetFileInformationByHandle(file.get(), &info))
        *newIdentity = identityOf(info);
    return WriteStatus::Ok;
}

std::optional<FileIdentity> identityOfFile(const std::wstring& name) {
    FileHandle file(win32::openExisting(name, FILE_READ_ATTRIBUTES, 0));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !::GetFileInformationByHandle(file.get(), &info))
        return std::nullopt;
    return identityOf(info);
}

// The name of the file an open handle refers to, links followed and in the
// letter case the folder holds it in.
std::optional<std::wstring> finalName(HANDLE file) {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(
            file, name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
        if (length == 0)
            return std::nullopt;
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        name.resize(length);
    }
}

// The usual road: the new bytes go to a flushed temporary, which takes the
// file's place.
WriteStatus replaceByTemporary(const std::wstring& target, std::span<const std::string_view> pieces,
                               FileIdentity* newIdentity) {
    WriteStatus failure = WriteStatus::WriteFailed;
    JournalRecord record;
    const auto temporary = writeTemporary(target, pieces, record, failure);
    if (!temporary) {
        record.finish();
        return failure;
    }
    const WriteStatus status = replaceWithTemporary(target, *temporary);
    record.finish();
    if (status == WriteStatus::Ok && newIdentity) {
        if (const auto identity = identityOfFile(target))
            *newIdentity = *identity;
    }
    return status;
}

} // namespace

ReadStatus readRegularFile(const std::filesystem::path& path, std::string& buffer,
                           FileIdentity* identity) {
    const std::wstring name = win32::extendedPath(path);
    if (win32::isDevicePath(name))
        return ReadStatus::NotRegularFile;
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return readStatusFrom(::GetLastError());
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return ReadStatus::IsFolder;
    FileHandle file(win32::openExisting(name, GENERIC_READ, FILE_FLAG_SEQUENTIAL_SCAN));
    if (!file)
        return readStatusFrom(::GetLastError());
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        return ReadStatus::NotRegularFile;
    if (!::GetFileInformationByHandle(file.get(), &info))
        return ReadStatus::NotReadable;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return ReadStatus::IsFolder;

    bool complete = false;
    DWORD error = 0;
    try {
        complete = readAll(file.get(), static_cast<std::size_t>(sizeOf(info)), buffer, error);
    } catch (const std::bad_alloc&) {
        std::string().swap(buffer);
        return ReadStatus::TooLarge;
    }
    if (!complete)
        return win32::isInUseError(error) ? ReadStatus::InUse : ReadStatus::NotReadable;
    if (identity)
        *identity = identityOf(info);
    return ReadStatus::Ok;
}

ReadStatus identifyFile(const std::filesystem::path& path, FileIdentity& identity) {
    const std::wstring name = win32::extendedPath(path);
    if (win32::isDevicePath(name))
        return ReadStatus::NotReadable;
    // Attributes only, shared with everyone; backup semantics let a folder be
    // opened too, so that it is told apart from a missing file.
    FileHandle file(win32::openExisting(name, FILE_READ_ATTRIBUTES, FILE_FLAG_BACKUP_SEMANTICS));
    if (!file)
        return readStatusFrom(::GetLastError());
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file.get(), &info))
        return ReadStatus::NotReadable;
    identity = identityOf(info);
    return ReadStatus::Ok;
}

WriteStatus replaceFileContents(const std::filesystem::path& path,
                                std::span<const std::string_view> pieces,
                                FileIdentity* newIdentity) {
    std::wstring target = win32::extendedPath(path);
    if (win32::isDevicePath(target))
        return WriteStatus::NotWritable;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        return isMissingError(error)          ? WriteStatus::NotFound
               : error == ERROR_ACCESS_DENIED ? WriteStatus::FolderPermissionDenied
                                              : WriteStatus::NotWritable;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return WriteStatus::IsFolder;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return WriteStatus::NotWritable;
    std::optional<std::wstring> copyName;
    {
        // Opening for writing and deleting asks the file's security whether
        // we may replace it, and meets a program that holds it without
        // sharing it (and waits for it to let go) before any work is done.
        FileHandle probe(
            win32::openExisting(target, FILE_WRITE_DATA | FILE_READ_ATTRIBUTES | DELETE, 0));
        if (!probe) {
            const DWORD error = ::GetLastError();
            return win32::isInUseError(error)     ? WriteStatus::InUse
                   : error == ERROR_ACCESS_DENIED ? WriteStatus::PermissionDenied
                                                  : WriteStatus::NotWritable;
        }
        if (::GetFileType(probe.get()) != FILE_TYPE_DISK)
            return WriteStatus::NotWritable;
        // The name on disk: an entry may spell it in another letter case,
        // which a rename would give the file, and a link leads to the file
        // to replace (the link stays a link).
        if (const auto onDisk = finalName(probe.get()))
            target = *onDisk;
        else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return WriteStatus::NotWritable;
        // A name too long to be read back from its copy's name keeps the
        // replace: its other names keep the old bytes, but nothing is at risk.
        FILE_STANDARD_INFO info;
        if (::GetFileInformationByHandleEx(probe.get(), FileStandardInfo, &info, sizeof info) &&
            info.NumberOfLinks > 1)
            copyName = win32::oldBytesCopyName(win32::nameOf(target), ::GetCurrentProcessId());
    }
    RunJournal::ofThisProcess().settleBefore(target);
    if (copyName)
        return rewriteInPlace(target, *copyName, pieces, newIdentity);
    return replaceByTemporary(target, pieces, newIdentity);
}

WriteStatus replaceFileContents(const std::filesystem::path& path, std::string_view bytes,
                                FileIdentity* newIdentity) {
    return replaceFileContents(path, std::span(&bytes, 1), newIdentity);
}

WriteStatus createOrReplaceFile(const std::filesystem::path& path, std::string_view bytes) {
    const std::wstring target = win32::extendedPath(path);
    if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
        return replaceFileContents(path, bytes);
    if (win32::isDevicePath(target))
        return WriteStatus::NotWritable;
    RunJournal::ofThisProcess().settleBefore(target);
    WriteStatus failure = WriteStatus::WriteFailed;
    JournalRecord record;
    const auto temporary = writeTemporary(target, std::span(&bytes, 1), record, failure);
    if (!temporary) {
        record.finish();
        return failure;
    }
    const bool moved = moveOver(*temporary, target);
    const DWORD error = ::GetLastError();
    if (!moved)
        ::DeleteFileW(temporary->c_str());
    record.finish();
    return moved ? WriteStatus::Ok : writeStatusFrom(error);
}

bool writeBackInPlace(const std::filesystem::path& path, const FileStamp& expected,
                      const std::filesystem::path& copy) {
    FileHandle file(openUnshared(win32::extendedPath(path)));
    BY_HANDLE_FILE_INFORMATION info;
    // Judged before it was opened: the file must not have changed since.
    if (!file || !::GetFileInformationByHandle(file.get(), &info) ||
        identityOf(info) != expected.identity || stampOf(path) != expected)
        return false;
    FileHandle saved(
        win32::openExisting(win32::extendedPath(copy), GENERIC_READ, FILE_FLAG_SEQUENTIAL_SCAN));
    return saved && copyContents(saved.get(), file.get());
}

std::vector<LeftoverName> leftoverNamesIn(const std::filesystem::path& folder) {
    std::vector<LeftoverName> found;
    const std::wstring where = win32::extendedPath(folder.empty() ? "." : folder);
    WIN32_FIND_DATAW entry;
    const HANDLE search =
        ::FindFirstFileExW(win32::joinPath(where, L".*").c_str(), FindExInfoBasic, &entry,
                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    const std::filesystem::path shown = folder.empty() ? "." : folder;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (const auto copy = win32::oldBytesCopyOf(entry.cFileName))
            found.push_back({shown / entry.cFileName, shown / copy->file, copy->owner, true});
        else if (const auto owner = win32::temporaryOwner(entry.cFileName))
            if (const std::wstring_view name = entry.cFileName;
                name.size() > 1 + std::wstring_view(L".faultward-").size())
                found.push_back(
                    {shown / entry.cFileName,
                     shown / std::wstring(name.substr(1, name.rfind(L".faultward-") - 1)), *owner,
                     false});
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    std::sort(found.begin(), found.end(),
              [](const LeftoverName& a, const LeftoverName& b) { return a.path < b.path; });
    return found;
}

} // namespace faultward

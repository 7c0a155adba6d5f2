#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// InUse: another program holds the file open without sharing it (an editor,
// a virus scanner) and still did after a second of trying again. The other
// failures name their cause so that a message can say it in plain words:
// PermissionDenied is the file's own, FolderPermissionDenied a folder on its
// way; TooLarge a file that does not fit in memory.
enum class ReadStatus {
    Ok,
    NotFound,
    NotRegularFile,
    NotReadable,
    InUse,
    IsFolder,
    PermissionDenied,
    FolderPermissionDenied,
    TooLarge,
};

// Two names of one file give the same identity: the volume (device) that holds
// the file and the file's number on it.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// Reads a whole regular file into buffer (its old contents are replaced, its
// capacity kept), every byte as it is on disk. Folders, FIFOs and devices are
// never opened.
ReadStatus readRegularFile(const std::filesystem::path& path, std::string& buffer,
                           FileIdentity* identity = nullptr);

// The identity of whatever a path names, links followed, without opening it:
// NotFound when nothing is there, NotReadable when it cannot be looked at.
// A pass learns from it which entries name the same file before it reads any.
ReadStatus identifyFile(const std::filesystem::path& path, FileIdentity& identity);

// NotWritable: the file is read-only. WriteFailed: a fault with no plainer
// name (an input/output error). The others as for ReadStatus; NoSpace is a
// full disk (or quota), TooLarge a file over the size the system allows.
enum class WriteStatus {
    Ok,
    NotWritable,
    WriteFailed,
    InUse,
    NotFound,
    IsFolder,
    PermissionDenied,
    FolderPermissionDenied,
    NoSpace,
    TooLarge,
};

// Replaces the contents of an existing file without ever leaving it half
// written: the bytes go to a temporary file in the same folder, which is
// flushed to disk and renamed over the original. A file with more than one
// name (hard links) must keep them all, so it is written in place instead:
// first a flushed copy of its old bytes goes beside it, then the new bytes
// into the file, flushed, and then the copy is removed; should the run end
// before that, a later run puts the copy back (RunJournal, which records every
// temporary and copy before it is made). A symbolic link is followed,
// so its target is replaced and the link stays a link. The file keeps its
// permission bits (on Windows its security, attributes and creation time). A
// read-only file, or one whose permission bits grant no write, is refused. On success, newIdentity
// (when given) receives the identity of the file that now holds the bytes. The new contents are the
// pieces joined, written without joining them first.
WriteStatus replaceFileContents(const std::filesystem::path& path,
                                std::span<const std::string_view> pieces,
                                FileIdentity* newIdentity = nullptr);
WriteStatus replaceFileContents(const std::filesystem::path& path, std::string_view bytes,
                                FileIdentity* newIdentity = nullptr);

// Like replaceFileContents, but creates the file (with the usual permission
// bits) when it does not exist yet. For the program's own files, never for sources.
WriteStatus createOrReplaceFile(const std::filesystem::path& path, std::string_view bytes);

} // namespace faultward

#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace faultward {

// InUse: another program holds the file open without sharing it (an editor,
// a virus scanner) and still did after a second of trying again.
enum class ReadStatus { Ok, NotFound, NotRegularFile, NotReadable, InUse };

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

enum class WriteStatus { Ok, NotWritable, WriteFailed, InUse };

// Replaces the contents of an existing file without ever leaving it half
// written: the bytes go to a temporary file in the same folder, which is
// flushed to disk and renamed over the original. A symbolic link is followed,
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

// Removes temporaries that an earlier, interrupted run left in a folder. Only
// names this program makes, and only those whose process is gone, are touched.
void removeStaleTemporaries(const std::filesystem::path& folder);

} // namespace faultward

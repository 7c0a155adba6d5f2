#pragma once

#include "platform/file_stamp.h"
#include "platform/source_file.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// What the journal of runs needs from the system: a file's identity and
// times, whether a process still runs, and journal files that one process
// holds at a time.

// The stamp of whatever the path names, a link itself rather than its target.
std::optional<FileStamp> stampOf(const std::filesystem::path& path);

// A process, told apart from a later one that got the same id: start is
// when it started (and on Linux, in which boot).
struct ProcessMark {
    std::uint64_t id = 0;
    std::string start;
    bool operator==(const ProcessMark&) const = default;
};
ProcessMark thisProcess();
// False only when that very process has surely ended.
bool processRunning(const ProcessMark& process);

// Removes a file (never a folder); true when it is gone.
bool removeFile(const std::filesystem::path& path);

// Writes the bytes of copy back into file, in place, so that every name of
// the file sees them, and flushes them: only while the file still has the
// stamp it was judged by. False when they could not all go back.
bool writeBackInPlace(const std::filesystem::path& file, const FileStamp& expected,
                      const std::filesystem::path& copy);

// Writes a whole new file only this user may read and flushes it; false
// when it exists already or could not be written.
bool writePrivateFile(const std::filesystem::path& path, std::span<const std::string_view> pieces);

// Makes the folder and those above it that are missing, the new ones open
// to this user alone; true when it is there.
bool makePrivateFolder(const std::filesystem::path& folder);

// A journal file, held by one process at a time for as long as the object
// lives: its owner from creation to its end, afterwards whoever claims it.
// A process that ends lets go of it.
class JournalFile {
public:
    virtual ~JournalFile() = default;
    // A new file only this user may read; nothing when it exists already or
    // cannot be made.
    static std::unique_ptr<JournalFile> create(const std::filesystem::path& path);
    // An existing journal of this user's that no process holds; nothing
    // while one does (its owner still runs, or another run claimed it).
    static std::unique_ptr<JournalFile> claim(const std::filesystem::path& path);
    // The bytes of a journal, held or not, without taking it.
    static std::optional<std::string> peek(const std::filesystem::path& path);

    // Adds bytes at the end; durable: on the disk before it returns.
    virtual bool append(std::string_view bytes, bool durable) = 0;
    virtual std::optional<std::string> contents() = 0;
    virtual bool clear() = 0;
    // Takes the file's name away while it is still held.
    virtual void remove() = 0;
};

// A name that looks like a temporary or a copy of old bytes that this
// program makes: ".NAME.faultward-ID.tmp" or ".NAME.faultward-ID.old".
struct LeftoverName {
    std::filesystem::path path;
    std::filesystem::path file; // the file NAME beside it
    std::uint64_t owner = 0;
    bool copy = false; // ".old"
};
std::vector<LeftoverName> leftoverNamesIn(const std::filesystem::path& folder);

} // namespace faultward

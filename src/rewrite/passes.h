#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// One entry of the project file list: the file name exactly as the project
// writes it, and whether the user selected it.
struct ListEntry {
    std::string text;
    bool selected = true;
};

enum class PassKind { Removal, Insertion };

enum class FileOutcome {
    Rewritten,
    Unchanged,        // the pass would write the same bytes, so the file was left alone
    SameFileAsBefore, // an earlier entry of the list named the same file
    NotFound,
    NotRegularFile,
    NotReadable,
    NotWritable,
    WriteFailed,
    InUse, // another program held the file without sharing it
};

bool isFailure(FileOutcome outcome);
// "not found", "not writable", ... for messages.
std::string_view describe(FileOutcome outcome);

// What a pass tells its caller while it runs, in this order: started, then for
// every entry made current, possibly processed (with the line-limit message
// before the outcome), the progress value; then finished. The desktop program
// drives its window from it, the command line prints from it.
class PassObserver {
public:
    virtual ~PassObserver() = default;
    // minimum and maximum are what the pass gives the progress bar.
    virtual void passStarted(PassKind, int /*minimum*/, int /*maximum*/) {}
    virtual void entryMadeCurrent(int /*index*/) {}
    virtual void progressValue(int /*value*/) {}
    virtual void lineLimitExceeded(int /*index*/, std::string_view /*message*/) {}
    virtual void fileProcessed(int /*index*/, std::string_view /*entry*/, FileOutcome) {}
    virtual void passFinished(PassKind) {}
};

// The message shown for a file with more lines than handlers can go into.
std::string lineLimitMessage(std::string_view entryText);

// Drops every marked line from the selected entries' files, in list order.
void runRemovalPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                    PassObserver& observer);

// Writes trap lines and handler blocks in the given mode into the selected
// entries' files, in list order.
void runInsertionPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                      int mode, PassObserver& observer);

} // namespace faultward

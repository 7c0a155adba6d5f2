#pragma once

#include "platform/run_journal.h"
#include "platform/source_file.h"
#include "rewrite/source_kind.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace faultward {

// One entry of the project file list: the file name exactly as the project
// writes it, whether the user selected it, and the kind of file the project
// says it is (the desktop list holds forms and modules and does not tell them
// apart; only classes and user controls are treated differently).
struct ListEntry {
    std::string text;
    bool selected = true;
    SourceKind kind = SourceKind::Form;
    // In a list of a group's files, the Name of the project the entry comes
    // from, for a template's {project}; empty: the one the options give.
    std::string project = {};
};

// An entry of a project whose folder is written folder ("App\", ending in a
// separator) from another's, named from that other's folder:
// "App\Forms\Main.frm". An entry from the root or a drive stays as it is.
std::string entryInFolder(std::string_view folder, std::string_view entry);

enum class PassKind { Removal, Insertion, Survey, Numbering, Unnumbering };

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
    IsFolder,
    PermissionDenied,       // the file's own permissions refuse us
    FolderPermissionDenied, // its folder's do
    NoSpace,                // the disk (or the user's quota) is full
    TooLarge,               // over the size the system allows, or more than memory holds
};

bool isFailure(FileOutcome outcome);
// The cause in plain words for messages: "not found", "no space left on the disk", ...
std::string_view describe(FileOutcome outcome);
// The outcome for a file that could not be read.
FileOutcome readFailure(ReadStatus status);
// What a write gives: Rewritten when it is whole, else its failure.
FileOutcome writeOutcome(WriteStatus status);

// What a pass tells its caller while it runs, in this order: started, then for
// every entry made current, possibly processed (with the line limit's notice
// before the outcome), the progress value; then finished. The desktop program
// drives its window from it, the command line prints from it.
class PassObserver {
public:
    virtual ~PassObserver() = default;
    // minimum and maximum are what the pass gives the progress bar.
    virtual void passStarted(PassKind, int /*minimum*/, int /*maximum*/) {}
    virtual void entryMadeCurrent(int /*index*/) {}
    virtual void progressValue(int /*value*/) {}
    // The entry's file has more lines than handlers go into; the rest of it
    // was written back as it was.
    virtual void lineLimitExceeded(int /*index*/, std::string_view /*entry*/) {}
    virtual void fileProcessed(int /*index*/, std::string_view /*entry*/, FileOutcome) {}
    // A procedure whose line numbers were left as they stood, before the
    // file's outcome; renumberable when they were left only for being taken
    // for the user's, which numbering with renumber takes over.
    virtual void procedureLeftWhole(int /*index*/, std::string_view /*message*/,
                                    bool /*renumberable*/) {}
    // A procedure whose line numbers were changed or taken out where it held
    // numbers that numbering alone would not have changed, before the file's
    // outcome.
    virtual void procedureRenumbered(int /*index*/, std::string_view /*message*/) {}
    // Before the pass starts: a temporary or a copy of old bytes beside a
    // file, and what was done with it. A command may hear of one in each pass.
    virtual void leftoverFound(const Leftover& /*leftover*/) {}
    virtual void passFinished(PassKind) {}
};

} // namespace faultward

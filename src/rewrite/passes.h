#pragma once

#include "platform/source_file.h"
#include "rewrite/dry_run_files.h"
#include "rewrite/insertion_options.h"
#include "rewrite/line_numbering.h"
#include "rewrite/procedure_survey.h"
#include "rewrite/source_kind.h"

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// One entry of the project file list: the file name exactly as the project
// writes it, whether the user selected it, and the kind of file the project
// says it is (the desktop list holds forms and modules and does not tell them
// apart; only classes and user controls are treated differently).
struct ListEntry {
    std::string text;
    bool selected = true;
    SourceKind kind = SourceKind::Form;
};

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
    // A procedure whose line numbers were left as they stood, before the
    // file's outcome.
    virtual void procedureLeftWhole(int /*index*/, std::string_view /*message*/) {}
    // Before the pass starts: an interrupted run had left file half written with
    // its old bytes in copy; whole when they are back in the file.
    virtual void oldContentsPutBack(const std::filesystem::path& /*file*/,
                                    const std::filesystem::path& /*copy*/, bool /*whole*/) {}
    virtual void passFinished(PassKind) {}
};

// The message shown for a file with more lines than handlers can go into.
std::string lineLimitMessage(std::string_view entryText);

// Drops every marked line from the selected entries' files, in list order.
// With dryRun, the files are read as the dry run left them and nothing is
// written; the new contents go to dryRun. With more than one job, that many
// files are worked on at a time; the files come out the same and the
// observer still hears of them in list order, on the calling thread.
// With lineNumbers, the line numbers of its procedures come out in the same
// pass.
void runRemovalPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                    PassObserver& observer, DryRunFiles* dryRun = nullptr, int jobs = 1,
                    const NumberingOptions* lineNumbers = nullptr);

// Writes trap lines and handler blocks into the selected entries' files, in
// list order. dryRun as for runRemovalPass.
void runInsertionPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                      const InsertionOptions& options, PassObserver& observer,
                      DryRunFiles* dryRun = nullptr);

// The removal pass, then the insertion pass over the same entries, each heard
// as a pass of its own. A file whose marked lines could not be taken out gets
// no handlers from the insertion pass (they would be a second set); it is
// reported with the removal's failure again. With lineNumbers, the insertion
// pass numbers the procedures afresh.
void runRemovalAndInsertionPasses(std::span<const ListEntry> entries,
                                  const std::filesystem::path& baseFolder,
                                  const InsertionOptions& options, PassObserver& observer,
                                  DryRunFiles* dryRun = nullptr,
                                  const NumberingOptions* lineNumbers = nullptr);

// The same bytes in one pass that reads each file once: its marked lines are
// dropped and the handlers inserted in memory, and the file is written at
// most once, not at all when it would end as it began. Heard as one insertion
// pass. jobs as for runRemovalPass. With lineNumbers, the procedures are
// numbered afresh in the same pass: the bytes of insertion, then numbering.
void runReinsertionPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                        const InsertionOptions& options, PassObserver& observer,
                        DryRunFiles* dryRun = nullptr, int jobs = 1,
                        const NumberingOptions* lineNumbers = nullptr);

// Numbers the body lines of the selected entries' files afresh (numbering),
// or takes their line numbers out. dryRun and jobs as for runRemovalPass.
void runNumberingPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                      const NumberingOptions& options, PassObserver& observer,
                      DryRunFiles* dryRun = nullptr, int jobs = 1);
void runUnnumberingPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                        ProcedureKinds procedures, PassObserver& observer,
                        DryRunFiles* dryRun = nullptr, int jobs = 1);

// Reads the selected entries' files in list order and hands each survey to
// surveyed, judged by what insertion with options would do; writes nothing.
using SurveyReceiver = std::function<void(int index, const ListEntry&, const FileSurvey&)>;
void runSurveyPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                   const InsertionOptions& options, PassObserver& observer,
                   const SurveyReceiver& surveyed);

} // namespace faultward

#include "rewrite/passes.h"

#include "rewrite/pass_run.h"
#include "rewrite/transforms.h"

namespace faultward {

bool isFailure(FileOutcome outcome) {
    switch (outcome) {
    case FileOutcome::Rewritten:
    case FileOutcome::Unchanged:
    case FileOutcome::SameFileAsBefore:
        return false;
    default:
        return true;
    }
}

std::string_view describe(FileOutcome outcome) {
    switch (outcome) {
    case FileOutcome::Rewritten:
        return "rewritten";
    case FileOutcome::Unchanged:
        return "unchanged";
    case FileOutcome::SameFileAsBefore:
        return "same file as an earlier entry";
    case FileOutcome::NotFound:
        return "not found";
    case FileOutcome::NotRegularFile:
        return "not a regular file";
    case FileOutcome::NotReadable:
        return "not readable";
    case FileOutcome::NotWritable:
        return "not writable";
    case FileOutcome::WriteFailed:
        return "write failed";
    case FileOutcome::InUse:
        return "in use by another program";
    case FileOutcome::IsFolder:
        return "is a folder";
    case FileOutcome::PermissionDenied:
        return "permission denied";
    case FileOutcome::FolderPermissionDenied:
        return "permission denied on its folder";
    case FileOutcome::NoSpace:
        return "no space left on the disk";
    case FileOutcome::TooLarge:
        return "too large";
    }
    return "unknown";
}

FileOutcome readFailure(ReadStatus status) {
    switch (status) {
    case ReadStatus::NotFound:
        return FileOutcome::NotFound;
    case ReadStatus::NotRegularFile:
        return FileOutcome::NotRegularFile;
    case ReadStatus::InUse:
        return FileOutcome::InUse;
    case ReadStatus::IsFolder:
        return FileOutcome::IsFolder;
    case ReadStatus::PermissionDenied:
        return FileOutcome::PermissionDenied;
    case ReadStatus::FolderPermissionDenied:
        return FileOutcome::FolderPermissionDenied;
    case ReadStatus::TooLarge:
        return FileOutcome::TooLarge;
    default:
        return FileOutcome::NotReadable;
    }
}

std::string lineLimitMessage(std::string_view entryText) {
    std::string message = "The file ";
    message.append(entryText);
    message.append(" has exceeded ");
    message.append(std::to_string(kInsertionLineLimit));
    message.append(" lines of code!  Error handling cannot be inserted for the rest of this "
                   "file.  Please reduce the number lines in this file and try again.");
    return message;
}

void runRemovalPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                    PassObserver& observer, DryRunFiles* dryRun, int jobs,
                    const NumberingOptions* lineNumbers) {
    PassSetup setup{PassKind::Removal, Work::Removal, nullptr, dryRun, jobs};
    setup.numbering = lineNumbers;
    runPass(entries, baseFolder, observer, setup);
}

void runInsertionPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                      const InsertionOptions& options, PassObserver& observer,
                      DryRunFiles* dryRun) {
    runPass(entries, baseFolder, observer,
            {PassKind::Insertion, Work::Insertion, &options, dryRun});
}

void runRemovalAndInsertionPasses(std::span<const ListEntry> entries,
                                  const std::filesystem::path& baseFolder,
                                  const InsertionOptions& options, PassObserver& observer,
                                  DryRunFiles* dryRun, const NumberingOptions* lineNumbers) {
    const std::vector<EntryResult> removal =
        runPass(entries, baseFolder, observer, {PassKind::Removal, Work::Removal, nullptr, dryRun});
    PassSetup insertion{PassKind::Insertion, Work::Insertion, &options, dryRun, 1, &removal};
    insertion.numbering = lineNumbers;
    runPass(entries, baseFolder, observer, insertion);
}

void runReinsertionPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                        const InsertionOptions& options, PassObserver& observer,
                        DryRunFiles* dryRun, int jobs, const NumberingOptions* lineNumbers) {
    PassSetup setup{PassKind::Insertion, Work::Reinsertion, &options, dryRun, jobs};
    setup.numbering = lineNumbers;
    runPass(entries, baseFolder, observer, setup);
}

void runNumberingPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                      const NumberingOptions& options, PassObserver& observer, DryRunFiles* dryRun,
                      int jobs) {
    PassSetup setup{PassKind::Numbering, Work::Numbering, nullptr, dryRun, jobs};
    setup.numbering = &options;
    runPass(entries, baseFolder, observer, setup);
}

void runUnnumberingPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                        ProcedureKinds procedures, PassObserver& observer, DryRunFiles* dryRun,
                        int jobs) {
    NumberingOptions options;
    options.procedures = procedures;
    PassSetup setup{PassKind::Unnumbering, Work::Unnumbering, nullptr, dryRun, jobs};
    setup.numbering = &options;
    runPass(entries, baseFolder, observer, setup);
}

void runSurveyPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                   const InsertionOptions& options, PassObserver& observer,
                   const SurveyReceiver& surveyed) {
    // One worker: the receiver hears of the files in list order.
    PassSetup setup{PassKind::Survey, Work::Survey, &options};
    setup.surveyed = &surveyed;
    runPass(entries, baseFolder, observer, setup);
}

} // namespace faultward

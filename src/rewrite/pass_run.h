#pragma once

#include "rewrite/dry_run_files.h"
#include "rewrite/held_sources.h"
#include "rewrite/insertion_options.h"
#include "rewrite/passes.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace faultward {

// What one pass does to each file it reads.
enum class Work {
    Removal,
    Insertion,
    Reinsertion, // removal and insertion in one go
    Survey,
    Numbering,
    Unnumbering,
};

// What one entry's turn gave, for the observer.
struct EntryResult {
    std::optional<FileOutcome> outcome; // none for an entry not selected
    bool lineLimitExceeded = false;
    // What numbering says of a procedure, in file order.
    struct NumberingNote {
        std::string message;
        bool left = true;          // left as it was; else its numbers changed
        bool renumberable = false; // left only for being taken for the user's
    };
    std::vector<NumberingNote> numberingNotes;
    // What is handed on in list order: a dry run's changes to a file (with
    // its hunks when asked), a survey.
    std::optional<LineChanges> lineChanges;
    std::string hunks;
    std::optional<FileSurvey> survey;
};

struct PassSetup {
    PassKind kind;
    Work work;
    const InsertionOptions* insertion = nullptr;
    DryRunFiles* dryRun = nullptr;
    int jobs = 1;
    // Insertion after removal: the removal's failures by entry. Such a file
    // is read for the state it leaves, but never written.
    const std::vector<EntryResult>* removal = nullptr;
    const SurveyReceiver* surveyed = nullptr;
    // For numbering work; with removal or insertion work, the line numbers
    // also come out or go in, in the same read and write.
    const NumberingOptions* numbering = nullptr;
    // For removal work: the procedures that keep their marked lines.
    const LeaveList* leave = nullptr;
};

// One pass over the entries: their files are looked up in list order, worked
// on by setup.jobs workers, and reported to the observer in list order.
std::vector<EntryResult> runPass(std::span<const ListEntry> entries, const PassSources& sources,
                                 PassObserver& observer, const PassSetup& setup);

} // namespace faultward

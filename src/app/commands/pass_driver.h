#pragma once

#include "project/document_project.h"
#include "rewrite/leave_list.h"
#include "rewrite/passes.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace faultward {

// Gathers the files a command could not process, once per entry even when the
// command runs two passes.
class FailureCollector {
public:
    struct Failure {
        int index;
        std::string entry;
        FileOutcome outcome;
    };
    // True when this is a failure not recorded for the entry before.
    bool record(int index, std::string_view entry, FileOutcome outcome);
    const std::vector<Failure>& failures() const { return failures_; }
    // An Office document that could not be written after its modules were
    // worked on: the message that names it and why. Its modules are as they were.
    void recordDocument(std::string message) { document_ = std::move(message); }
    const std::optional<std::string>& document() const { return document_; }
    bool empty() const { return failures_.empty() && !document_; }

private:
    std::vector<Failure> failures_;
    std::optional<std::string> document_;
};

// Hears a command's passes, and each file that could not be processed once:
// it gathers the failures itself, so the passes report to it directly.
class CommandObserver : public PassObserver {
public:
    void fileProcessed(int index, std::string_view entry, FileOutcome outcome) final;
    virtual void fileFailed(const FailureCollector::Failure& /*failure*/) {}
    // After the passes over an Office document's modules: what writing the
    // document gave, and its name as messages show it.
    virtual void documentSaved(const DocumentSave& /*saved*/, std::string_view /*shown*/) {}
    // The failures gathered since the last call.
    FailureCollector takeFailures() { return std::exchange(failures_, {}); }

private:
    FailureCollector failures_;
};

// Number and Unnumber work on the line numbers alone.
enum class PassCommand { Remove, Insert, Number, Unnumber };

// What the passes of one command work on.
struct PassTargets {
    std::span<const ListEntry> entries;
    std::filesystem::path baseFolder; // where relative entries are found
    InsertionOptions insertion;       // for Insert; a handling mode alone gives today's lines
    // When set, nothing is written and the new contents go here, or with a
    // listener what they change.
    DryRunFiles* dryRun = nullptr;
    // The command line's way: Insert reads and writes each file once, in one
    // pass, and jobs files are worked on at a time. The desktop program shows
    // the removal pass and then the insertion pass, one file after another.
    bool oneReadInsert = false;
    int jobs = 1;
    // For Number and Unnumber; with Insert the procedures are numbered too,
    // with Remove their numbers come out.
    std::optional<NumberingOptions> lineNumbers = std::nullopt;
    // The procedures the project's own settings leave alone, whatever the
    // command: they keep every byte.
    std::shared_ptr<const LeaveList> leave = nullptr;
    // An Office document whose modules the entries are: the passes read and
    // write them in memory, and the document is written once, after them
    // (never in a dry run), without its signature when dropSignature.
    DocumentProject* document = nullptr;
    bool dropSignature = false;
};

// Runs a command's passes over the same entries: the removal pass, then, for
// Insert, the insertion pass, so that a file ends with one set of handlers
// (or, with oneReadInsert, both in one pass that writes the same bytes).
// Returns the files that could not be processed, each once, in the order of
// their first failure.
FailureCollector runPassCommand(PassCommand command, const PassTargets& targets,
                                CommandObserver& observer);

// Reads the entries' files, targets.jobs at a time, and hands over what each
// holds of the tool's work in list order, writing nothing, judged by what
// insertion with targets.insertion would do. Returns the files that could
// not be read.
FailureCollector runSurveyCommand(const PassTargets& targets, CommandObserver& observer,
                                  const SurveyReceiver& surveyed);

// The message that names the files a command could not process: the first
// few, each on a line short enough for any screen, and how many more there
// are; the details name every file whole.
inline constexpr std::size_t kFailuresNamed = 10;
inline constexpr std::size_t kFailureLineLength = 80;
std::string failureMessage(const FailureCollector& failures);
std::string failureDetails(const FailureCollector& failures);

// The same for the procedures whose line numbers were left as they were,
// from the passes' descriptions of them; when renumberable of them were left
// only for holding numbers taken for their author's, the message offers the
// command's choice to take them over (kRenumberChoice, kUnnumberChoice).
std::string proceduresLeftMessage(const std::vector<std::string>& procedures,
                                  std::size_t renumberable = 0,
                                  PassCommand command = PassCommand::Number);
std::string proceduresLeftDetails(const std::vector<std::string>& procedures);
// The one message that names what earlier runs left beside the files (the
// first few; the details name them all), and whether it warns: it does
// unless every file was put back whole.
std::string leftoversMessage(const std::vector<Leftover>& leftovers);
std::string leftoversDetails(const std::vector<Leftover>& leftovers);
bool leftoversWarn(const std::vector<Leftover>& leftovers);
// The procedures whose numbers were changed or taken out where numbering
// alone would not have done it; the details are proceduresLeftDetails'.
std::string proceduresRenumberedMessage(const std::vector<std::string>& procedures);

} // namespace faultward

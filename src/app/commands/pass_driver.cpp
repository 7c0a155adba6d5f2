#include "app/commands/pass_driver.h"

#include "app/texts/texts.h"
#include "platform/display_text.h"
#include "platform/path_bytes.h"

#include <algorithm>

namespace faultward {

bool FailureCollector::record(int index, std::string_view entry, FileOutcome outcome) {
    if (!isFailure(outcome))
        return false;
    const bool known = std::any_of(failures_.begin(), failures_.end(),
                                   [&](const Failure& f) { return f.index == index; });
    if (!known)
        failures_.push_back({index, std::string(entry), outcome});
    return !known;
}

void CommandObserver::fileProcessed(int index, std::string_view entry, FileOutcome outcome) {
    if (failures_.record(index, entry, outcome))
        fileFailed(failures_.failures().back());
}

namespace {

// The insertion options with the targets' leave list.
InsertionOptions insertionOf(const PassTargets& targets) {
    InsertionOptions options = targets.insertion;
    options.leave = targets.leave;
    return options;
}

// Where the passes find the entries' sources: the document's modules, or files.
PassSources sourcesOf(const PassTargets& targets) {
    if (targets.document)
        return {targets.baseFolder, targets.document->sources()};
    return targets.baseFolder;
}

// The document is written once its modules have been worked on.
void saveDocument(const PassTargets& targets, CommandObserver& observer,
                  FailureCollector& failures) {
    if (!targets.document || targets.dryRun)
        return;
    const DocumentSave saved = targets.document->save(targets.dropSignature);
    const std::string shown = pathDisplayText(bytesFromPath(targets.document->file()));
    observer.documentSaved(saved, shown);
    if (saved.failed())
        failures.recordDocument(documentNotWrittenMessage(shown, saved));
}

} // namespace

FailureCollector runPassCommand(PassCommand command, const PassTargets& targets,
                                CommandObserver& observer) {
    // Each command counts its own failures.
    observer.takeFailures();
    const PassSources sources = sourcesOf(targets);
    NumberingOptions numbering = targets.lineNumbers.value_or(NumberingOptions());
    numbering.leave = targets.leave;
    const NumberingOptions* lineNumbers = targets.lineNumbers ? &numbering : nullptr;
    const InsertionOptions insertion = insertionOf(targets);
    if (command == PassCommand::Number)
        runNumberingPass(targets.entries, sources, numbering, observer, targets.dryRun,
                         targets.jobs);
    else if (command == PassCommand::Unnumber)
        runUnnumberingPass(targets.entries, sources, numbering, observer, targets.dryRun,
                           targets.jobs);
    else if (command == PassCommand::Remove)
        runRemovalPass(targets.entries, sources, observer, targets.dryRun, targets.jobs,
                       lineNumbers, targets.leave);
    else if (targets.oneReadInsert)
        runReinsertionPass(targets.entries, sources, insertion, observer, targets.dryRun,
                           targets.jobs, lineNumbers);
    else
        runRemovalAndInsertionPasses(targets.entries, sources, insertion, observer, targets.dryRun,
                                     lineNumbers);
    FailureCollector failures = observer.takeFailures();
    saveDocument(targets, observer, failures);
    return failures;
}

FailureCollector runSurveyCommand(const PassTargets& targets, CommandObserver& observer,
                                  const SurveyReceiver& surveyed) {
    observer.takeFailures();
    runSurveyPass(targets.entries, sourcesOf(targets), insertionOf(targets), observer, surveyed,
                  targets.jobs);
    return observer.takeFailures();
}

namespace {

std::string failureLine(const FailureCollector::Failure& failure) {
    return entryDisplayText(failure.entry) + ": " + std::string(describe(failure.outcome));
}

} // namespace

std::string failureMessage(const FailureCollector& failures) {
    const auto& all = failures.failures();
    if (failures.document() && all.empty())
        return *failures.document();
    std::string text = failures.document() ? *failures.document() + "\n\n" : std::string();
    text += "These selected files could not be processed and were left as they were:\n";
    for (std::size_t i = 0; i < all.size() && i < kFailuresNamed; ++i) {
        // Appended apart: "\n" + a temporary trips GCC 12's false overlap warning.
        text += '\n';
        text += shortenedInTheMiddle(failureLine(all[i]), kFailureLineLength);
    }
    if (all.size() > kFailuresNamed)
        text += "\nand " + std::to_string(all.size() - kFailuresNamed) + " more";
    return text;
}

namespace {

// A message's lead, then the first few procedures, each on a short line.
std::string procedureList(std::string text, const std::vector<std::string>& procedures) {
    for (std::size_t i = 0; i < procedures.size() && i < kFailuresNamed; ++i) {
        text += '\n';
        text += shortenedInTheMiddle(entryDisplayText(procedures[i]), kFailureLineLength);
    }
    if (procedures.size() > kFailuresNamed)
        text += "\nand " + std::to_string(procedures.size() - kFailuresNamed) + " more";
    return text;
}

} // namespace

std::string proceduresLeftMessage(const std::vector<std::string>& procedures,
                                  std::size_t renumberable, PassCommand command) {
    std::string lead = "These procedures were left as they were, since their line numbers could "
                       "not be changed safely";
    if (renumberable > 0) {
        // The way out goes in the lead paragraph, which the box shows above the details.
        const bool unnumbers = command == PassCommand::Unnumber || command == PassCommand::Remove;
        lead += renumberable == 1 ? ". One of them holds numbers"
                                  : ". " + std::to_string(renumberable) + " of them hold numbers";
        lead += " not of the shape this tool writes, taken for their author's; ";
        lead += choiceText(unnumbers ? kUnnumberChoice : kRenumberChoice);
        lead += unnumbers ? " takes those numbers out too" : " numbers them afresh";
    }
    return procedureList(lead + ":\n", procedures);
}

std::string proceduresRenumberedMessage(const std::vector<std::string>& procedures) {
    return procedureList("These procedures held line numbers that were changed or taken out:\n",
                         procedures);
}

std::string proceduresLeftDetails(const std::vector<std::string>& procedures) {
    std::string text;
    for (const std::string& procedure : procedures)
        text += entryDisplayText(procedure) + "\n";
    return text;
}

std::string failureDetails(const FailureCollector& failures) {
    std::string text;
    for (const FailureCollector::Failure& failure : failures.failures())
        text += failureLine(failure) + "\n";
    return text;
}

std::string leftoversMessage(const std::vector<Leftover>& leftovers) {
    std::string text;
    for (std::size_t i = 0; i < leftovers.size() && i < kFailuresNamed; ++i) {
        if (i > 0)
            text += "\n\n";
        text += leftoverMessage(leftovers[i]);
    }
    if (leftovers.size() > kFailuresNamed)
        text += "\n\nand " + std::to_string(leftovers.size() - kFailuresNamed) + " more";
    return text;
}

std::string leftoversDetails(const std::vector<Leftover>& leftovers) {
    if (leftovers.size() <= kFailuresNamed)
        return {};
    std::string text;
    for (const Leftover& leftover : leftovers)
        text += leftoverMessage(leftover) + "\n";
    return text;
}

bool leftoversWarn(const std::vector<Leftover>& leftovers) {
    return std::any_of(leftovers.begin(), leftovers.end(),
                       [](const Leftover& found) { return found.kind != LeftoverKind::PutBack; });
}

} // namespace faultward

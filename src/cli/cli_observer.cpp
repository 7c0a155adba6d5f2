#include "cli/cli_observer.h"

#include "app/texts/texts.h"

namespace faultward {

void CliObserver::passStarted(PassKind kind, int, int) {
    kind_ = kind == PassKind::Insertion     ? kInsertingCaption
            : kind == PassKind::Removal     ? kRemovingCaption
            : kind == PassKind::Numbering   ? std::string_view("Numbering")
            : kind == PassKind::Unnumbering ? std::string_view("Unnumbering")
                                            : std::string_view("Checking");
}

void CliObserver::entryMadeCurrent(int index) {
    if (!env_.errIsTerminal)
        return;
    controls() << '\r' << std::flush;
    env_.err << kind_ << ": " << (index + 1) << '/' << count_ << std::flush;
    controls() << "\x1b[K" << std::flush;
}

void CliObserver::passFinished(PassKind) {
    printNotes();
    clearProgress();
}

void CliObserver::lineLimitExceeded(int, std::string_view entry) {
    lineLimitExceeded_ = true;
    printNotes();
    clearProgress();
    env_.err << shownEntry(lineLimitMessage(entry), env_.errIsTerminal) << '\n';
}

void CliObserver::procedureLeftWhole(int index, std::string_view message, bool) {
    procedureRenumbered(index, message);
}

void CliObserver::procedureRenumbered(int, std::string_view message) {
    // Standard error is unbuffered, and a project may leave many procedures
    // as they were: away from a terminal they go out in one write, at the
    // end of the pass or before anything else is printed.
    notes_ += "faultward-cli: " + project_ + shownEntry(message, env_.errIsTerminal) + '\n';
    if (env_.errIsTerminal) {
        clearProgress();
        printNotes();
    }
}

void CliObserver::printNotes() {
    if (notes_.empty())
        return;
    env_.err << notes_;
    notes_.clear();
}

void CliObserver::fileFailed(const FailureCollector::Failure& failure) {
    failed_.emplace(failure.index, failure.outcome);
    printNotes();
    clearProgress();
    env_.err << "faultward-cli: " << project_ << shownEntry(failure.entry, env_.errIsTerminal)
             << ": " << describe(failure.outcome) << '\n';
}

void CliObserver::documentSaved(const DocumentSave& saved, std::string_view shown) {
    printNotes();
    clearProgress();
    if (saved.failed())
        env_.err << "faultward-cli: " << documentNotWrittenMessage(shown, saved) << '\n';
    else if (!saved.droppedSignatures.empty())
        env_.err << "faultward-cli: " << signatureDroppedMessage(shown, saved.droppedSignatures)
                 << '\n';
}

std::optional<FileOutcome> CliObserver::failureOf(int index) const {
    const auto found = failed_.find(index);
    return found == failed_.end() ? std::nullopt : std::optional(found->second);
}

void CliObserver::leftoverFound(const Leftover& leftover) {
    if (!namedLeftovers_.insert(leftover.leftover).second)
        return;
    clearProgress();
    env_.err << "faultward-cli: " << leftoverMessage(leftover) << '\n';
}

void CliObserver::print(std::string_view text) {
    if (env_.outIsTerminal && env_.errIsTerminal) {
        clearProgress();
        env_.out << text << std::flush;
        return;
    }
    env_.out << text;
}

void CliObserver::clearProgress() {
    if (env_.errIsTerminal)
        controls() << "\r\x1b[K" << std::flush;
}

std::ostream& CliObserver::controls() {
    // What err holds goes out before the control bytes that follow it.
    env_.err.flush();
    return env_.errControls ? *env_.errControls : env_.err;
}

} // namespace faultward

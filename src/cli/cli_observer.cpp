#include "cli/cli_observer.h"

#include "app/texts.h"

namespace faultward {

void CliObserver::passStarted(PassKind kind, int, int) {
    kind_ = kind == PassKind::Insertion     ? kInsertingCaption
            : kind == PassKind::Removal     ? kRemovingCaption
            : kind == PassKind::Numbering   ? std::string_view("Numbering")
            : kind == PassKind::Unnumbering ? std::string_view("Unnumbering")
                                            : std::string_view("Checking");
}

void CliObserver::entryMadeCurrent(int index) {
    if (env_.errIsTerminal)
        env_.err << '\r' << kind_ << ": " << (index + 1) << '/' << count_ << "\x1b[K" << std::flush;
}

void CliObserver::passFinished(PassKind) {
    if (env_.errIsTerminal)
        env_.err << "\r\x1b[K" << std::flush;
}

void CliObserver::lineLimitExceeded(int, std::string_view message) {
    clearProgress();
    env_.err << shownEntry(message, env_.errIsTerminal) << '\n';
}

void CliObserver::procedureLeftWhole(int, std::string_view message) {
    clearProgress();
    env_.err << "faultward-cli: " << project_ << shownEntry(message, env_.errIsTerminal) << '\n';
}

void CliObserver::fileFailed(const FailureCollector::Failure& failure) {
    clearProgress();
    env_.err << "faultward-cli: " << project_ << shownEntry(failure.entry, env_.errIsTerminal)
             << ": " << describe(failure.outcome) << '\n';
}

void CliObserver::clearProgress() {
    if (env_.errIsTerminal)
        env_.err << "\r\x1b[K";
}

} // namespace faultward

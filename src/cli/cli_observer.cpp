#include "cli/cli_observer.h"

#include "app/texts.h"

namespace faultward {

void CliObserver::passStarted(PassKind kind, int, int) {
    kind_ = kind == PassKind::Insertion ? kInsertingCaption
            : kind == PassKind::Removal ? kRemovingCaption
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

void CliObserver::fileFailed(const FailureCollector::Failure& failure) {
    clearProgress();
    env_.err << "faultward-cli: " << project_ << shownEntry(failure.entry, env_.errIsTerminal)
             << ": " << describe(failure.outcome) << '\n';
}

void CliObserver::oldContentsPutBack(const std::filesystem::path& file,
                                     const std::filesystem::path& copy, bool whole) {
    clearProgress();
    env_.err << "faultward-cli: " << putBackMessage(file, copy, whole) << '\n';
}

void CliObserver::clearProgress() {
    if (env_.errIsTerminal)
        env_.err << "\r\x1b[K";
}

} // namespace faultward

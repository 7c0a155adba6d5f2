#pragma once

#include "passes.h"

namespace faultward {

class Form1;
class MDIForm1;

// Shows a running pass in the windows: wait pointer, working caption, the
// progress bar over the label and the entry being worked on; afterwards no
// current entry, bar hidden, default pointer and "Task Completed".
class PassFeedback : public PassObserver {
public:
    // failures and watcher may be null.
    PassFeedback(Form1& form, MDIForm1& main, FailureCollector* failures, PassObserver* watcher);
    // Puts the windows back even if the pass was cut short.
    ~PassFeedback() override;

    void passStarted(PassKind kind, int minimum, int maximum) override;
    void entryMadeCurrent(int index) override;
    void progressValue(int value) override;
    void lineLimitExceeded(int index, std::string_view message) override;
    void fileProcessed(int index, std::string_view entry, FileOutcome outcome) override;
    void passFinished(PassKind kind) override;

private:
    void finish();

    Form1& form_;
    MDIForm1& main_;
    FailureCollector* failures_;
    PassObserver* watcher_;
    bool running_ = false;
};

} // namespace faultward

#pragma once

#include "app/pass_driver.h"
#include "app/views.h"

#include <string>
#include <vector>

namespace faultward {

// Shows a running pass in the windows: wait pointer, working caption, the
// progress bar over the label and the entry being worked on; afterwards no
// current entry, bar hidden, default pointer and "Task Completed".
class PassFeedback final : public CommandObserver {
public:
    // watcher, when given, is told every event after the windows have shown it;
    // leftWhole, when given, gathers the procedures left as they were.
    PassFeedback(MainWindowView& main, ProjectFilesView& files, PassObserver* watcher,
                 std::vector<std::string>* leftWhole = nullptr);
    // Puts the windows back even if a pass was cut short.
    ~PassFeedback() override;

    void passStarted(PassKind kind, int minimum, int maximum) override;
    void entryMadeCurrent(int index) override;
    void progressValue(int value) override;
    void lineLimitExceeded(int index, std::string_view entry) override;
    void fileProcessed(int index, std::string_view entry, FileOutcome outcome) override;
    void procedureLeftWhole(int index, std::string_view message) override;
    void oldContentsPutBack(const std::filesystem::path& file, const std::filesystem::path& copy,
                            bool whole) override;
    void passFinished(PassKind kind) override;

private:
    void finish();

    MainWindowView& main_;
    ProjectFilesView& files_;
    PassObserver* watcher_;
    std::vector<std::string>* leftWhole_;
    bool running_ = false;
};

} // namespace faultward

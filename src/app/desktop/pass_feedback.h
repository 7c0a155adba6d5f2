#pragma once

#include "app/commands/pass_driver.h"
#include "app/desktop/views.h"

#include <string>
#include <utility>
#include <vector>

namespace faultward {

// What a command's passes said of procedures' line numbers.
struct NumberingNotes {
    std::vector<std::string> leftWhole;  // left as they were, as the passes describe them
    std::size_t renumberable = 0;        // of those, left only for holding the user's numbers
    std::vector<std::string> renumbered; // numbers changed or taken out
};

// Shows a running pass in the windows: wait pointer, working caption, the
// progress bar over the label and the entry being worked on; afterwards no
// current entry, bar hidden, default pointer and "Task Completed". It also
// gathers the procedures the passes left as they were, and names in one
// message what earlier runs left beside the files.
class PassFeedback : public CommandObserver {
public:
    PassFeedback(MainWindowView& main, ProjectFilesView& files);
    // Puts the windows back even if a pass was cut short.
    ~PassFeedback() override;

    void passStarted(PassKind kind, int minimum, int maximum) override;
    void entryMadeCurrent(int index) override;
    void progressValue(int value) override;
    void lineLimitExceeded(int index, std::string_view entry) override;
    void procedureLeftWhole(int index, std::string_view message, bool renumberable) override;
    void procedureRenumbered(int index, std::string_view message) override;
    void leftoverFound(const Leftover& leftover) override;
    void passFinished(PassKind kind) override;
    void documentSaved(const DocumentSave& saved, std::string_view shown) override;

    // What the passes said of line numbers since the last call.
    NumberingNotes takeNumberingNotes() { return std::exchange(notes_, {}); }

private:
    void finish();

    MainWindowView& main_;
    ProjectFilesView& files_;
    NumberingNotes notes_;
    // What earlier runs left, each named once a command, in one message
    // before the work.
    std::vector<Leftover> leftovers_;
    std::size_t leftoversShown_ = 0;
    bool running_ = false;
};

} // namespace faultward

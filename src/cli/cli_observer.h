#pragma once

#include "app/commands/pass_driver.h"
#include "cli/cli.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace faultward {

// Prints what the passes report: progress on a terminal, and the files that
// could not be processed, each once per command. In a group, failures name
// the project first (project is then "NAME: "). What earlier runs left
// beside the files is named once.
class CliObserver : public CommandObserver {
public:
    CliObserver(CliEnvironment& env, std::size_t count, std::string project)
        : env_(env), count_(count), project_(std::move(project)) {}

    void passStarted(PassKind kind, int, int) override;
    void entryMadeCurrent(int index) override;
    void passFinished(PassKind) override;
    void lineLimitExceeded(int, std::string_view entry) override;
    void procedureLeftWhole(int, std::string_view message, bool) override;
    void procedureRenumbered(int, std::string_view message) override;
    void fileFailed(const FailureCollector::Failure& failure) override;
    void leftoverFound(const Leftover& leftover) override;
    void documentSaved(const DocumentSave& saved, std::string_view shown) override;

    // Report text for standard output while the passes run: on the terminal
    // that shows the progress line, the line is cleared first.
    void print(std::string_view text);

    // How the entry at index failed, once the passes have told.
    std::optional<FileOutcome> failureOf(int index) const;

    // Whether a file had more lines than handlers can go into, so that some
    // of its procedures were left without.
    bool lineLimitExceeded() const { return lineLimitExceeded_; }

private:
    void clearProgress();
    std::ostream& controls();
    void printNotes();

    CliEnvironment& env_;
    std::size_t count_;
    std::string project_;
    std::string_view kind_;
    bool lineLimitExceeded_ = false;
    std::string notes_; // procedures left as they were, not yet printed
    std::set<std::filesystem::path> namedLeftovers_;
    std::map<int, FileOutcome> failed_;
};

} // namespace faultward

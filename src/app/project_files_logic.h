#pragma once

#include "app/module1.h"
#include "app/pass_driver.h"
#include "app/pass_feedback.h"
#include "app/views.h"

#include <filesystem>
#include <string>
#include <vector>

namespace faultward {

// What the project files window does, whatever shows it: it owns the list of
// the project's files with a tick per entry, in the list's one order, selects
// all or none, and runs the passes over the ticked entries.
class ProjectFilesLogic {
public:
    ProjectFilesLogic(MainWindowView& main, ProjectFilesView& view, Module1& module);

    const std::vector<ListEntry>& entries() const { return entries_; }

    // The user ticked or cleared an entry's check box.
    void setSelected(int index, bool selected);
    // 0 ticks every entry, any other index clears every tick.
    void cmd_sel_Click(int Index);

    // Empties the list.
    void clearList();
    // Shows a project that was read: its entries in list order, every one
    // ticked, the path above the list, Insert and Remove enabled, no current
    // entry. Relative entries are found from folder.
    void showProject(const std::vector<std::string>& entriesInFileOrder,
                     const std::string& projectPath, std::filesystem::path folder);

    // The passes of a command over the ticked entries, with the windows
    // showing them; the files that could not be processed.
    FailureCollector runPasses(PassCommand command);
    // The procedures the last command's passes left as they were, as the
    // passes describe them.
    const std::vector<std::string>& proceduresLeftWhole() const { return leftWhole_; }

    // The feedback the passes report to in place of the windows' own, which a
    // nullptr gives back.
    void setFeedback(PassFeedback* feedback) { feedback_ = feedback; }

private:
    std::filesystem::path baseFolder() const;

    MainWindowView& main_;
    ProjectFilesView& view_;
    Module1& module_;
    std::vector<ListEntry> entries_;
    std::filesystem::path projectFolder_;
    PassFeedback* feedback_ = nullptr;
    std::vector<std::string> leftWhole_;
};

} // namespace faultward

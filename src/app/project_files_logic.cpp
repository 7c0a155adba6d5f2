#include "app/project_files_logic.h"

#include "app/pass_feedback.h"
#include "project/file_list.h"

namespace faultward {

ProjectFilesLogic::ProjectFilesLogic(MainWindowView& main, ProjectFilesView& view, Module1& module)
    : main_(main), view_(view), module_(module) {}

void ProjectFilesLogic::setSelected(int index, bool selected) {
    if (index >= 0 && static_cast<std::size_t>(index) < entries_.size())
        entries_[static_cast<std::size_t>(index)].selected = selected;
}

void ProjectFilesLogic::cmd_sel_Click(int Index) {
    main_.showBusyPointer();
    const int count = static_cast<int>(entries_.size());
    for (int i = 0; i < count; ++i) {
        entries_[static_cast<std::size_t>(i)].selected = Index == 0;
        view_.setEntrySelected(i, Index == 0);
    }
    main_.showDefaultPointer();
}

void ProjectFilesLogic::clearList() {
    entries_.clear();
    view_.showEntries(entries_);
}

void ProjectFilesLogic::showProject(const std::vector<std::string>& entriesInFileOrder,
                                    const std::string& projectPath, std::filesystem::path folder) {
    projectFolder_ = std::move(folder);
    entries_ = sortedListEntries(entriesInFileOrder);
    for (ListEntry& entry : entries_)
        entry.selected = false;
    view_.showEntries(entries_);
    view_.setProjectLabel(projectPath);
    const int count = static_cast<int>(entries_.size());
    for (int i = 0; i < count; ++i) {
        entries_[static_cast<std::size_t>(i)].selected = true;
        view_.setEntrySelected(i, true);
    }
    view_.enableInsertAndRemove();
    view_.setCurrentEntry(-1);
}

FailureCollector ProjectFilesLogic::runPasses(PassCommand command) {
    // The passes read the ticks as they were when the command began.
    const std::vector<ListEntry> entries = entries_;
    leftWhole_.clear();
    PassFeedback feedback(main_, view_, watcher_, &leftWhole_);
    return runPassCommand(command, {entries, baseFolder(), InsertionOptions(module_.Error_Flag())},
                          feedback);
}

std::filesystem::path ProjectFilesLogic::baseFolder() const {
    if (!projectFolder_.empty())
        return projectFolder_;
    std::error_code error;
    return std::filesystem::current_path(error);
}

} // namespace faultward

#include "app/project_files_logic.h"

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
    listPath_.clear();
    projectName_.clear();
    parts_.clear();
    view_.showEntries(entries_);
}

void ProjectFilesLogic::showProject(const std::vector<std::string>& entriesInFileOrder,
                                    const std::string& projectPath, std::filesystem::path folder) {
    ListSource source;
    source.entries = sortedListEntries(entriesInFileOrder);
    showList(source, projectPath, std::move(folder));
}

std::vector<std::string> ProjectFilesLogic::reload(SourceKinds kinds) {
    if (listPath_.empty())
        return {};
    const std::string path = listPath_;
    clearList();
    ListSource source = readListSource(path, kinds);
    if (source.opened)
        showList(source, path, projectFolder_);
    return source.problems;
}

void ProjectFilesLogic::showList(const ListSource& source, const std::string& listPath,
                                 std::filesystem::path folder) {
    projectFolder_ = std::move(folder);
    listPath_ = listPath;
    projectName_ = source.projectName;
    parts_ = source.parts;
    entries_ = source.entries;
    for (ListEntry& entry : entries_)
        entry.selected = false;
    view_.showEntries(entries_);
    view_.setProjectLabel(listPath);
    const int count = static_cast<int>(entries_.size());
    for (int i = 0; i < count; ++i) {
        entries_[static_cast<std::size_t>(i)].selected = true;
        view_.setEntrySelected(i, true);
    }
    view_.enableInsertAndRemove();
    view_.setCurrentEntry(-1);
}

FailureCollector ProjectFilesLogic::runPasses(PassCommand command) {
    const PassSettings settings =
        passSettings(module_.handlerSettings(), module_.Error_Flag(), projectName_, command);
    if (!settings.problem.empty())
        return {};
    return runPasses(command, settings);
}

FailureCollector ProjectFilesLogic::runPasses(PassCommand command, const PassSettings& settings) {
    // The passes read the ticks as they were when the command began.
    const std::vector<ListEntry> entries = entries_;
    leftWhole_.clear();
    PassFeedback windows(main_, view_);
    PassFeedback& feedback = feedback_ ? *feedback_ : windows;
    FailureCollector failures = runPassCommand(command, targets(entries, settings), feedback);
    leftWhole_ = feedback.takeProceduresLeftWhole();
    return failures;
}

ReportRun ProjectFilesLogic::preview(const PassSettings& settings) const {
    const std::vector<ListEntry> entries = entries_;
    return previewReport(targets(entries, settings), baseFolder(), parts_);
}

ReportRun ProjectFilesLogic::check(const PassSettings& settings) const {
    const std::vector<ListEntry> entries = entries_;
    return checkProjectReport(targets(entries, settings), parts_);
}

PassTargets ProjectFilesLogic::targets(std::span<const ListEntry> entries,
                                       const PassSettings& settings) const {
    PassTargets targets{entries, baseFolder(), settings.insertion};
    targets.lineNumbers = settings.lineNumbers;
    return targets;
}

std::filesystem::path ProjectFilesLogic::baseFolder() const {
    if (!projectFolder_.empty())
        return projectFolder_;
    std::error_code error;
    return std::filesystem::current_path(error);
}

} // namespace faultward

#include "app/desktop/project_files_logic.h"

#include "app/commands/procedure_records.h"
#include "app/texts/texts.h"
#include "platform/entry_path.h"
#include "platform/path_bytes.h"
#include "platform/source_file.h"
#include "project/file_list.h"

namespace faultward {
namespace {

// A report that could not be made: the document it is of cannot be read.
ReportRun documentReportFailure(std::string problem) {
    ReportRun run;
    run.failures.recordDocument(std::move(problem));
    return run;
}

} // namespace

ProjectFilesLogic::ProjectFilesLogic(MainWindowView& main, ProjectFilesView& view, Module1& module)
    : main_(main), view_(view), module_(module) {}

void ProjectFilesLogic::setSelected(int index, bool selected) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size())
        return;
    ListEntry& entry = entries_[static_cast<std::size_t>(index)];
    entry.selected = selected;
    if (choices_.exists())
        showProblem(choices_.setFilesLeft({entry.text}, !selected));
    // A wider item of the file ("Legacy\*.bas") still leaves it alone.
    if (const auto other = choices_.leave()->fileLeaving(entry.text, std::nullopt);
        selected && other) {
        entry.selected = false;
        view_.setEntrySelected(index, false);
        showProblem(entry.text + " is still left alone by a line of " + *other +
                    " that names more than it; change that line there.");
    }
}

void ProjectFilesLogic::cmd_sel_Click(int Index) {
    main_.showBusyPointer();
    const int count = static_cast<int>(entries_.size());
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
        entries_[static_cast<std::size_t>(i)].selected = Index == 0;
        view_.setEntrySelected(i, Index == 0);
        texts.push_back(entries_[static_cast<std::size_t>(i)].text);
    }
    main_.showDefaultPointer();
    if (choices_.exists())
        showProblem(choices_.setFilesLeft(texts, Index != 0));
}

std::vector<std::string> ProjectFilesLogic::openChoices(const std::string& listPath) {
    return choices_.open(pathFromBytes(listPath));
}

void ProjectFilesLogic::showProblem(const std::optional<std::string>& problem) {
    if (problem)
        main_.showMessage(*problem, MessageIcon::Warning, {});
}

void ProjectFilesLogic::expandEntry(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size())
        return;
    showProcedures(index);
}

void ProjectFilesLogic::setProcedureSelected(int entry, int procedure, bool selected) {
    const auto shown = expanded_.find(entry);
    if (shown == expanded_.end() || procedure < 0 ||
        static_cast<std::size_t>(procedure) >= shown->second.size())
        return;
    showProblem(choices_.setProcedureLeft(entries_[static_cast<std::size_t>(entry)].text,
                                          shown->second[static_cast<std::size_t>(procedure)],
                                          !selected));
    showProcedures(entry);
}

void ProjectFilesLogic::showProcedures(int index) {
    const ListEntry& entry = entries_[static_cast<std::size_t>(index)];
    std::vector<ProcedureRow> rows;
    std::vector<std::string>& names = expanded_[index];
    names.clear();
    std::string content;
    bool read = false;
    if (shape_ == ProjectShape::Document) {
        std::string problem;
        FileIdentity identity;
        if (const std::unique_ptr<DocumentProject> document = openDocument(problem))
            read = document->sources().read(entry.text, content, identity) == ReadStatus::Ok;
    } else {
        const auto path = resolveEntryPath(entry.text, baseFolder());
        read = path && readRegularFile(*path, content) == ReadStatus::Ok;
    }
    if (read) {
        PassSettings settings = passSettings(settingsInForce(), projectName_, PassCommand::Insert);
        if (!settings.problem.empty())
            settings.insertion.handlerTemplate.reset();
        // A document's module is in the document, which {file} names.
        const std::string document = shape_ == ProjectShape::Document
                                         ? bytesFromPath(pathFromBytes(listPath_).filename())
                                         : std::string();
        const std::string_view name =
            shape_ == ProjectShape::Document
                ? std::string_view(document)
                : std::string_view(entry.text)
                      .substr(std::string_view(entry.text).find_last_of("\\/") + 1);
        const SourceFacts facts{name, isClassLike(entry.kind), entry.project, entry.text};
        settings.insertion.leave = choices_.leave();
        for (const ProcedureRecord& record :
             procedureRecords(surveyFile(content, settings.insertion, facts))) {
            rows.push_back(
                {record.kind + " " + record.name, procedureStateText(record), !record.listed});
            names.push_back(record.name);
        }
    }
    view_.showProcedures(index, rows);
}

void ProjectFilesLogic::clearList() {
    entries_.clear();
    listPath_.clear();
    shape_ = ProjectShape::ProjectFile;
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
    shape_ = source.shape;
    projectName_ = source.projectName;
    parts_ = source.parts;
    entries_ = source.entries;
    for (ListEntry& entry : entries_)
        entry.selected = false;
    view_.showEntries(entries_);
    view_.setProjectLabel(listPath);
    expanded_.clear();
    // A group's projects' own files leave their entries alone too.
    if (!parts_.empty())
        for (const std::string& message :
             choices_.openProjects(parts_, entries_, module_.userLayer()))
            showProblem(message);
    // Every entry ticked but those the project's own settings leave alone.
    const int count = static_cast<int>(entries_.size());
    for (int i = 0; i < count; ++i) {
        ListEntry& entry = entries_[static_cast<std::size_t>(i)];
        entry.selected = !choices_.leave()->leavesFile(entry.text);
        view_.setEntrySelected(i, entry.selected);
    }
    view_.enableInsertAndRemove();
    view_.setCurrentEntry(-1);
}

FailureCollector ProjectFilesLogic::runPasses(PassCommand command) {
    const PassSettings settings = passSettings(settingsInForce(), projectName_, command);
    if (!settings.problem.empty())
        return {};
    return runPasses(command, settings);
}

FailureCollector ProjectFilesLogic::runPasses(PassCommand command, const PassSettings& settings,
                                              bool dropSignature) {
    // The passes read the ticks as they were when the command began.
    const std::vector<ListEntry> entries = entries_;
    notes_ = {};
    std::string problem;
    const std::unique_ptr<DocumentProject> document = openDocument(problem);
    if (!problem.empty()) {
        FailureCollector failures;
        failures.recordDocument(problem);
        return failures;
    }
    PassTargets run = targets(entries, settings);
    run.document = document.get();
    run.dropSignature = dropSignature;
    PassFeedback windows(main_, view_);
    PassFeedback& feedback = feedback_ ? *feedback_ : windows;
    FailureCollector failures = runPassCommand(command, run, feedback);
    notes_ = feedback.takeNumberingNotes();
    // The procedures shown say what the files hold now.
    for (const auto& [index, names] : expanded_)
        showProcedures(index);
    return failures;
}

std::optional<ProjectFilesLogic::OutsideWork>
ProjectFilesLogic::outsideWork(PassCommand command) const {
    if (listPath_.empty())
        return std::nullopt;
    const std::filesystem::path listFile = pathFromBytes(listPath_);
    OutsideWork work{ProjectFolder(listFile), {}, {}};
    // A document's modules are no files of their own.
    if (shape_ != ProjectShape::Document)
        work.files = outsideEntries(work.folder, entries_, baseFolder());
    std::vector<std::filesystem::path> deciding = decidingFiles(listFile);
    const LayeredSettings inForce = settingsInForce();
    if (const auto source = choices_.templateSource(inForce);
        source && command == PassCommand::Insert) {
        deciding.push_back(*source);
        if (auto found = outsideTemplate(work.folder, inForce.handler.templatePath,
                                         choices_.templateAsWritten(), choices_.fileName()))
            work.files.insert(work.files.begin(), std::move(*found));
    }
    if (work.files.empty())
        return std::nullopt;
    work.keys = consentKeys(deciding, work.files);
    return work;
}

ReportRun ProjectFilesLogic::preview(const PassSettings& settings) const {
    return report(settings,
                  [&](const PassTargets& run) { return previewReport(run, baseFolder(), parts_); });
}

ReportRun ProjectFilesLogic::check(const PassSettings& settings) const {
    return report(settings,
                  [&](const PassTargets& run) { return checkProjectReport(run, parts_); });
}

ReportRun
ProjectFilesLogic::report(const PassSettings& settings,
                          const std::function<ReportRun(const PassTargets&)>& make) const {
    const std::vector<ListEntry> entries = entries_;
    std::string problem;
    const std::unique_ptr<DocumentProject> document = openDocument(problem);
    if (!problem.empty())
        return documentReportFailure(problem);
    PassTargets run = targets(entries, settings);
    run.document = document.get();
    ReportRun made = make(run);
    if (const std::optional<OutsideWork> outside = outsideWork(PassCommand::Insert))
        made.text += "\n" + outsideReportNote(outside->folder, outside->files);
    return made;
}

std::optional<std::string> ProjectFilesLogic::signatureRefusal() const {
    std::string problem;
    const std::unique_ptr<DocumentProject> document = openDocument(problem);
    if (!document || !document->document().isSigned())
        return std::nullopt;
    return document->writeRefusal(false);
}

std::unique_ptr<DocumentProject> ProjectFilesLogic::openDocument(std::string& problem) const {
    if (shape_ != ProjectShape::Document || listPath_.empty())
        return nullptr;
    DocumentProject::Opened opened = DocumentProject::open(pathFromBytes(listPath_));
    if (!opened.project)
        problem =
            describeDocumentFailure(pathDisplayText(listPath_), opened.status, opened.refusal);
    return std::move(opened.project);
}

PassTargets ProjectFilesLogic::targets(std::span<const ListEntry> entries,
                                       const PassSettings& settings) const {
    PassTargets targets{entries, baseFolder(), settings.insertion};
    targets.lineNumbers = settings.lineNumbers;
    targets.leave = choices_.leave();
    return targets;
}

std::filesystem::path ProjectFilesLogic::baseFolder() const {
    if (!projectFolder_.empty())
        return projectFolder_;
    std::error_code error;
    return std::filesystem::current_path(error);
}

} // namespace faultward

#pragma once

#include "app/commands/list_source.h"
#include "app/commands/outside_files.h"
#include "app/commands/pass_driver.h"
#include "app/commands/pass_settings.h"
#include "app/commands/project_choices.h"
#include "app/desktop/module1.h"
#include "app/desktop/pass_feedback.h"
#include "app/desktop/views.h"
#include "app/reports/reports.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
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

    // The user ticked or cleared an entry's check box. While the project
    // keeps its choices in its own file, the tick is kept there too.
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
    // The same for entries in list order, of the project or group file at
    // listPath (path bytes), which reload() reads again.
    void showList(const ListSource& source, const std::string& listPath,
                  std::filesystem::path folder);
    // Reads the list's project or group again with these kinds and shows it
    // as after Open; the problems to tell the user. Nothing without a list.
    std::vector<std::string> reload(SourceKinds kinds);
    bool hasList() const { return !listPath_.empty(); }
    void focusList() { view_.focusList(); }
    // For a template's {project}.
    const std::string& projectName() const { return projectName_; }

    // The choices the project or group file about to be listed keeps in its
    // own settings file; the messages to show (why it cannot be read, what
    // in it is not used as written).
    std::vector<std::string> openChoices(const std::string& listPath);
    ProjectChoices& choices() { return choices_; }
    // The settings in force: the project's own over the user's.
    LayeredSettings settingsInForce() const { return choices_.settings(module_.userLayer()); }

    // The user opened an entry: the procedures of its file go under it.
    void expandEntry(int index);
    // The user ticked or cleared a procedure under an entry: a procedure
    // left unticked is left alone by every command, and the project keeps
    // the choice in its own settings file.
    void setProcedureSelected(int entry, int procedure, bool selected);

    // What a command would write, or take its template from, outside the
    // folder that holds the listed project or group, with the keys of the
    // user's answer about it (app/commands/consent_records.h); nothing when the
    // command keeps inside it.
    struct OutsideWork {
        ProjectFolder folder;
        std::vector<OutsideFile> files;
        std::vector<std::string> keys;
    };
    std::optional<OutsideWork> outsideWork(PassCommand command) const;

    // The passes of a command over the ticked entries, with the windows
    // showing them; the files that could not be processed.
    FailureCollector runPasses(PassCommand command);
    // dropSignature: a signed document's project is written without its
    // signature (the user said so).
    FailureCollector runPasses(PassCommand command, const PassSettings& settings,
                               bool dropSignature = false);
    // When the list is an Office document whose project is signed: the
    // office layer's words for why a change would be refused.
    std::optional<std::string> signatureRefusal() const;
    // Preview Insertion and Check Project over the ticked entries; nothing
    // is written and the windows show nothing of the passes. A group's
    // report names each project before its part.
    ReportRun preview(const PassSettings& settings) const;
    ReportRun check(const PassSettings& settings) const;
    // What the last command's passes said of procedures' line numbers.
    const NumberingNotes& numberingNotes() const { return notes_; }

    // The feedback the passes report to in place of the windows' own, which a
    // nullptr gives back.
    void setFeedback(PassFeedback* feedback) { feedback_ = feedback; }

private:
    // A report over the ticked entries (and the document they are in), with,
    // at its end, the files outside the folder that Insert would ask about.
    ReportRun report(const PassSettings& settings,
                     const std::function<ReportRun(const PassTargets&)>& make) const;
    std::filesystem::path baseFolder() const;
    // The listed Office document read afresh, for one command: it may have
    // changed since it was listed. Nothing for another list, or with the
    // message in problem when it cannot be read.
    std::unique_ptr<DocumentProject> openDocument(std::string& problem) const;
    // Surveys the entry's file and shows its procedures under it.
    void showProcedures(int index);
    void showProblem(const std::optional<std::string>& problem);
    PassTargets targets(std::span<const ListEntry> entries, const PassSettings& settings) const;

    MainWindowView& main_;
    ProjectFilesView& view_;
    Module1& module_;
    std::vector<ListEntry> entries_;
    std::filesystem::path projectFolder_;
    PassFeedback* feedback_ = nullptr;
    std::string listPath_;
    ProjectShape shape_ = ProjectShape::ProjectFile;
    std::string projectName_;
    std::vector<ListPart> parts_;
    NumberingNotes notes_;
    ProjectChoices choices_;
    // The entries the user opened, with the names of the procedures shown
    // under each, by row.
    std::map<int, std::vector<std::string>> expanded_;
};

} // namespace faultward

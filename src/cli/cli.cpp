#include "cli/cli.h"

#include "app/commands/list_source.h"
#include "app/commands/outside_files.h"
#include "app/commands/pass_driver.h"
#include "app/reports/check_report.h"
#include "app/reports/dry_run_report.h"
#include "app/settings/project_settings.h"
#include "app/texts/texts.h"
#include "cli/arguments.h"
#include "cli/cli_observer.h"
#include "cli/command_plan.h"
#include "cli/command_table.h"
#include "cli/help_text.h"
#include "platform/display_text.h"
#include "platform/file_stamp.h"
#include "platform/path_bytes.h"
#include "platform/source_file.h"
#include "platform/windows_names.h"
#include "project/document_project.h"
#include "project/file_list.h"
#include "project/group_reader.h"
#include "project/module_folder.h"
#include "project/project_folder.h"
#include "project/project_reader.h"
#include "project/project_shape.h"
#include "project/release_copy.h"
#include "rewrite/leave_list.h"
#include "version/faultward_version.h"

#include <algorithm>
#include <new>
#include <optional>
#include <span>
#include <sstream>

namespace fs = std::filesystem;

namespace faultward {
namespace {

// A project the command works on: its name as given (on the command line, or
// in the group) and its file.
struct ProjectToRun {
    std::string name;
    fs::path file;
    std::string text; // the project file's bytes, read before any file is written
    ProjectShape shape = ProjectShape::ProjectFile;
    // An Office document, read whole before anything is written.
    std::shared_ptr<DocumentProject> document = nullptr;
};

// Reads an Office document whole; nothing, with the message, when it cannot be
// worked on.
std::shared_ptr<DocumentProject> openDocument(const fs::path& file, const std::string& name,
                                              CliEnvironment& env) {
    DocumentProject::Opened opened = DocumentProject::open(file);
    if (!opened.project)
        env.err << "faultward-cli: " << describeDocumentFailure(name, opened.status, opened.refusal)
                << '\n';
    return std::move(opened.project);
}

void reportProjectFailure(CliEnvironment& env, ProjectReadStatus status, const std::string& name) {
    env.err << "faultward-cli: " << describeProjectFailure(status, name) << '\n';
}

// The projects to work on: the one given, or those its group names.
std::optional<std::vector<ProjectToRun>> projectsToRun(const Arguments& parsed, const fs::path& top,
                                                       CliEnvironment& env) {
    if (const ProjectShape shape = projectShapeOf(top); shape != ProjectShape::GroupFile)
        return std::vector<ProjectToRun>{{parsed.project, top, {}, shape}};
    std::string text;
    const ProjectReadStatus status = readProjectText(top, text);
    if (status != ProjectReadStatus::Ok) {
        reportProjectFailure(env, status, parsed.project);
        return std::nullopt;
    }
    // A project that is not there is reported when its turn comes.
    const GroupMembers members = groupMembers(top, text, parsed.project);
    if (members.problem) {
        env.err << "faultward-cli: " << *members.problem << '\n';
        return std::nullopt;
    }
    for (const std::string& note : members.notes)
        env.err << "faultward-cli: " << note << '\n';
    std::vector<ProjectToRun> projects;
    for (const GroupMember& member : members.projects)
        projects.push_back({member.name, member.file, {}});
    if (projects.empty()) {
        env.err << "faultward-cli: the group file " << parsed.project << " names no project\n";
        return std::nullopt;
    }
    return projects;
}

// Every project is read before any file is written, so a group whose last
// project is missing changes nothing.
bool readProjects(std::vector<ProjectToRun>& projects, CliEnvironment& env) {
    for (ProjectToRun& project : projects) {
        if (project.shape == ProjectShape::Document) {
            project.document = openDocument(project.file, project.name, env);
            if (!project.document)
                return false;
            continue;
        }
        if (project.shape == ProjectShape::ModuleFolder) {
            const ModuleFolderRead read = readModuleFolder(project.file, {});
            if (read.status != ReadStatus::Ok) {
                env.err << "faultward-cli: " << describeFolderFailure(read.status, project.name)
                        << '\n';
                return false;
            }
            for (const std::string& name : read.unnamable)
                env.err << "faultward-cli: warning: " << unnamableModuleMessage(project.name, name)
                        << '\n';
            continue;
        }
        const ProjectReadStatus status = readProjectText(project.file, project.text);
        if (status != ProjectReadStatus::Ok) {
            reportProjectFailure(env, status, project.name);
            return false;
        }
    }
    return true;
}

// Every module file of a folder of modules, for its copy.
std::vector<std::string> folderFiles(const fs::path& folder) {
    std::vector<std::string> files;
    for (const ProjectEntry& entry : readModuleFolder(folder, kAllSourceKinds).entries)
        files.push_back(entry.text);
    return files;
}

// For a template's {project}: the project's Name, else its file's name; a
// folder's name.
std::string projectNameOf(const ProjectToRun& project, std::string_view text) {
    if (project.shape == ProjectShape::ModuleFolder)
        return moduleFolderName(project.file);
    if (project.document)
        return project.document->projectName();
    std::string name = projectName(text);
    return name.empty() ? bytesFromPath(project.file.stem()) : name;
}

// Names files outside the project's folder under a lead, one a line.
void nameOutside(CliEnvironment& env, const std::string& lead,
                 const std::vector<std::string>& files) {
    env.err << "faultward-cli: " << lead << '\n';
    for (const std::string& file : files)
        env.err << "faultward-cli:   " << file << '\n';
}

// Whether the copy may take what it would take from outside the project's
// folder: never through a link out of it, and from outside only with
// --allow-outside. Names those files either way.
bool mayCopyOutside(const CopyPlan& plan, const fs::path& top, bool allowed, CliEnvironment& env) {
    const ProjectFolder folder(top);
    std::vector<std::string> links;
    std::vector<std::string> outside;
    for (const OutsideCopyFile& file : plan.outside)
        (file.link ? links : outside).push_back(outsideFileText(file));
    const OutsideUse use = !links.empty() ? OutsideUse::LinkOut
                           : allowed      ? OutsideUse::CopyAllowed
                                          : OutsideUse::CopyRefused;
    if (!links.empty())
        nameOutside(env, outsideLead(use, {}, folder), links);
    else if (!outside.empty())
        nameOutside(env, outsideLead(use, {}, folder), outside);
    if (use == OutsideUse::CopyAllowed || (links.empty() && outside.empty()))
        return true;
    env.err << "faultward-cli: " << outsideRefusedEnd(use) << '\n';
    return false;
}

// Copies the projects into the output folder and points them at the copy;
// the copy's top file, or nothing when the copy is refused.
std::optional<fs::path> copyForRelease(const fs::path& top, std::vector<ProjectToRun>& projects,
                                       const CommandPlan& command, CliEnvironment& env,
                                       int& status) {
    std::vector<ProjectToCopy> toCopy;
    std::vector<fs::path> sourceFolders = {holdingFolder(top)};
    // Each project's own settings file goes along, so the copy keeps its choices.
    std::vector<fs::path> alongside = {projectSettingsPath(top)};
    for (const ProjectToRun& project : projects) {
        toCopy.push_back({project.file, project.text, command.inGroup ? project.name : ""});
        if (project.shape == ProjectShape::ModuleFolder)
            toCopy.back().files = folderFiles(project.file);
        else if (project.shape == ProjectShape::Document)
            toCopy.back().files = std::vector<std::string>(); // the document is the one file
        sourceFolders.push_back(holdingFolder(project.file));
        alongside.push_back(projectSettingsPath(project.file));
    }
    std::string error;
    const std::optional<CopyPlan> plan = planReleaseCopy(top, toCopy, alongside, error);
    if (!plan) {
        env.err << "faultward-cli: " << error << '\n';
        return std::nullopt;
    }
    std::error_code absent;
    const fs::path output = fs::absolute(pathFromBytes(*command.arguments.output), absent);
    if (const auto problem = outputFolderProblem(output, sourceFolders)) {
        env.err << "faultward-cli: " << *problem << '\n';
        return std::nullopt;
    }
    if (!mayCopyOutside(*plan, top, command.arguments.allowOutside, env)) {
        status = ExitOutside;
        return std::nullopt;
    }
    for (const std::string& missing : plan->missing) {
        env.err << "faultward-cli: " << missing << ": not found, not copied\n";
        status = ExitSomeFilesFailed;
    }
    for (const CompanionName& missing : plan->missingCompanions) {
        env.err << "faultward-cli: " << missing.file << ": its companion " << missing.companion
                << " is not found, not copied\n";
        status = ExitSomeFilesFailed;
    }
    for (const CompanionName& named : plan->fullPathCompanions)
        env.err << "faultward-cli: warning: " << named.file << " names its companion "
                << named.companion
                << " by a full path; it is not copied, and the copy still uses that file\n";
    const std::vector<std::string> failures = copyFiles(*plan, output);
    if (!failures.empty()) {
        for (const std::string& failure : failures)
            env.err << "faultward-cli: " << failure << '\n';
        env.err << "faultward-cli: nothing was processed\n";
        status = ExitSomeFilesFailed;
        return std::nullopt;
    }
    for (ProjectToRun& project : projects)
        project.file = placeInCopy(*plan, output, project.file);
    return placeInCopy(*plan, output, top);
}

// Keeps the options given in the project's own settings file; prints its path.
int runInit(const Arguments& parsed, const fs::path& top, CliEnvironment& env) {
    if (projectShapeOf(top) == ProjectShape::ProjectFile &&
        !equalIgnoringAsciiCase(top.extension().string(), ".vbp")) {
        env.err << "faultward-cli: init keeps settings beside a project (.vbp), group (.vbg) or "
                   "Office document, or in a folder of modules, and "
                << parsed.project << " is none of them\n";
        return ExitUsage;
    }
    std::string text;
    if (projectShapeOf(top) == ProjectShape::Document) {
        if (!openDocument(top, parsed.project, env))
            return ExitUsage;
    } else if (projectShapeOf(top) == ProjectShape::ModuleFolder) {
        if (const ReadStatus status = readModuleFolder(top, {}).status; status != ReadStatus::Ok) {
            env.err << "faultward-cli: " << describeFolderFailure(status, parsed.project) << '\n';
            return ExitUsage;
        }
    } else if (const ProjectReadStatus status = readProjectText(top, text);
               status != ProjectReadStatus::Ok) {
        reportProjectFailure(env, status, parsed.project);
        return ExitUsage;
    }
    ProjectSettingsFile file(projectSettingsPath(top), top);
    StoredHandlerSettings given = commandLineLayer(parsed).values;
    if (given == StoredHandlerSettings()) {
        env.err << "faultward-cli: init keeps the options given in " << file.displayName()
                << ", and none was given; nothing written\nTry 'faultward-cli --help'.\n";
        return ExitUsage;
    }
    // Named before it is read: a link to nothing is not a missing file.
    if (isSymbolicLink(file.path())) {
        env.err << "faultward-cli: " << file.displayName() << ": "
                << (fileStamp(file.path()).exists ? kLinkNotWrittenCause : kDanglingLinkCause)
                << "; nothing written\n";
        return ExitUsage;
    }
    if (!readProjectSettings(file, env))
        return ExitUsage;
    if (given.templatePath)
        given.templatePath = pathAsEntry(*given.templatePath, holdingFolder(top));
    writeHandlerKeys(file, given);
    if (const std::optional<std::string> cause = file.save()) {
        env.err << "faultward-cli: " << file.displayName() << ": " << *cause << '\n';
        return ExitSomeFilesFailed;
    }
    env.out << bytesFromPath(file.path()) << '\n';
    return ExitOk;
}

int runCheck(const CommandPlan& command, const PassTargets& targets, const ProjectToRun& project,
             std::vector<bool>& leaveNamed, CliObserver& observer, CliEnvironment& env) {
    const Arguments& parsed = command.arguments;
    const auto shown = [&](const std::string& entry) {
        return command.inGroup ? groupEntryText(project.name, entry) : entry;
    };
    // In list order, as the files come: a file the project's settings leave
    // alone says so in its place, and in JSON every file has its records,
    // those not looked into saying why.
    std::size_t passed = 0; // the entries before it are printed
    const auto printUpTo = [&](std::size_t index) {
        for (; passed < index; ++passed) {
            const ListEntry& entry = targets.entries[passed];
            if (!command.json) {
                if (!entry.selected)
                    observer.print(entry.text + ": left alone: listed in [Leave]\n");
            } else if (!entry.selected) {
                observer.print(
                    command.json->fileItem(shown(entry.text), "left-alone", "listed in [Leave]"));
            } else if (const auto failed = observer.failureOf(static_cast<int>(passed))) {
                observer.print(command.json->fileItem(
                    shown(entry.text), *failed == FileOutcome::NotFound ? "missing" : "unreadable",
                    describe(*failed)));
            }
        }
    };
    CheckTotals totals;
    std::vector<bool> surveyed(targets.entries.size());
    const FailureCollector failures = runSurveyCommand(
        targets, observer, [&](int index, const ListEntry& entry, const FileSurvey& survey) {
            surveyed[static_cast<std::size_t>(index)] = true;
            if (targets.leave) {
                std::vector<std::string> names;
                for (const SurveyedProcedure& procedure : survey.procedures)
                    names.push_back(procedure.name);
                targets.leave->markNamed(entry.text, &names, leaveNamed);
            }
            printUpTo(static_cast<std::size_t>(index));
            if (command.json)
                observer.print(command.json->items(shown(entry.text), procedureRecords(survey)));
            else
                observer.print(checkReport(entry.text, survey));
            totals.add(survey);
        });
    printUpTo(targets.entries.size());
    // A file left whole or not read is not looked into.
    if (targets.leave)
        for (std::size_t i = 0; i < surveyed.size(); ++i)
            if (!surveyed[i])
                targets.leave->markNamed(targets.entries[i].text, nullptr, leaveNamed);
    int status = failures.empty() ? ExitOk : ExitSomeFilesFailed;
    if (parsed.clean && totals.markedLines > 0) {
        env.err << "faultward-cli: " << counted(totals.markedLines, "marked line") << " left\n";
        status = ExitSomeFilesFailed;
    }
    if (parsed.handled && totals.untrapped > 0) {
        env.err << "faultward-cli: " << counted(totals.untrapped, "procedure")
                << " without a trap\n";
        status = ExitSomeFilesFailed;
    }
    return status;
}

// A [Leave] item that names nothing is most likely misspelt, or names what
// was renamed: what it was meant to keep is worked on.
void reportLeaveItemsNamingNothing(const CommandPlan& command, std::string_view looked,
                                   CliEnvironment& env) {
    std::vector<std::shared_ptr<LeaveItems>> files = {command.leave};
    files.insert(files.end(), command.projectLeave.begin(), command.projectLeave.end());
    for (const std::shared_ptr<LeaveItems>& items : files)
        if (items)
            for (const std::string& warning : leaveItemsNamingNothing(*items, looked))
                env.err << "faultward-cli: warning: " << warning << '\n';
}

// The project's entries of the command's kinds in list order, those its
// [Leave] list leaves whole not selected; nothing, with the message, when
// there are more than memory holds.
std::optional<std::vector<ListEntry>> entriesOf(const CommandPlan& command,
                                                const ProjectToRun& project,
                                                const std::string& text, const LeaveList& leave,
                                                CliEnvironment& env) {
    try {
        std::vector<ProjectEntry> listed;
        if (project.shape == ProjectShape::ModuleFolder) {
            ModuleFolderRead read = readModuleFolder(project.file, command.kinds);
            if (read.status != ReadStatus::Ok) {
                env.err << "faultward-cli: " << describeFolderFailure(read.status, project.name)
                        << '\n';
                return std::nullopt;
            }
            listed = std::move(read.entries);
        } else if (project.document) {
            listed = project.document->entries(command.kinds);
        } else {
            listed = projectEntries(text, command.kinds);
        }
        std::vector<ListEntry> entries = sortedListEntries(listed);
        // A file the project's settings leave alone is worked on by no command.
        if (!leave.empty())
            for (ListEntry& entry : entries)
                entry.selected = !leave.leavesFile(entry.text);
        return entries;
    } catch (const std::bad_alloc&) {
        // More entries than memory holds: as unreadable as a file can be.
        reportProjectFailure(env, ProjectReadStatus::NotReadable, project.name);
        return std::nullopt;
    }
}

// Whether the command may go on, as far as files outside the project's
// folder go: those it would write, or take its template from, are named
// once; without --allow-outside a command that writes then writes nothing.
// A copy is written in the output folder, and what it takes is asked of
// its plan.
bool mayWorkOutside(const CommandPlan& command, const fs::path& top,
                    const std::vector<ProjectToRun>& projects, CliEnvironment& env) {
    const Arguments& parsed = command.arguments;
    if (parsed.command == CliCommand::List)
        return true;
    const ProjectFolder folder(top);
    std::vector<std::string> named;
    if (command.outsideTemplate)
        named.push_back(outsideFileText(*command.outsideTemplate, false));
    for (std::size_t i = 0; !parsed.output && i < projects.size(); ++i) {
        const ProjectToRun& project = projects[i];
        // A document's modules are no files of their own: it is written where it is.
        if (project.document)
            continue;
        const std::shared_ptr<const LeaveList> leave =
            leaveListOf(leaveFilesOf(command, i, project.name));
        const std::optional<std::vector<ListEntry>> entries =
            entriesOf(command, project, project.text, *leave, env);
        if (!entries)
            return false;
        for (OutsideFile& file : outsideEntries(folder, *entries, holdingFolder(project.file))) {
            if (command.inGroup)
                file.name = groupEntryText(project.name, file.name);
            named.push_back(outsideFileText(file, false));
        }
    }
    if (named.empty())
        return true;
    const OutsideUse use = !commandWrites(parsed) ? OutsideUse::Named
                           : parsed.allowOutside  ? OutsideUse::Allowed
                                                  : OutsideUse::Refused;
    nameOutside(env, outsideLead(use, commandRow(parsed.command).name, folder), named);
    if (use == OutsideUse::Refused)
        env.err << "faultward-cli: " << outsideRefusedEnd(use) << '\n';
    return use != OutsideUse::Refused;
}

// A command that would change a signed document's project goes on only
// with --drop-signature; one locked for viewing was refused when it was read.
bool maySignatureGo(const CommandPlan& command, const std::vector<ProjectToRun>& projects,
                    CliEnvironment& env) {
    const Arguments& parsed = command.arguments;
    for (const ProjectToRun& project : projects) {
        if (!project.document || !commandWrites(parsed))
            continue;
        if (const auto refusal = project.document->writeRefusal(parsed.dropSignature)) {
            env.err << "faultward-cli: " << project.name << ": " << *refusal
                    << "; nothing was written, --drop-signature writes it without the "
                       "signature\n";
            return false;
        }
    }
    return true;
}

// Before a command that writes: the [Leave] items that name nothing in any
// project, so that the user knows before what they meant to keep is worked on.
void warnOfLeaveItemsNamingNothing(const CommandPlan& command,
                                   std::span<const ProjectToRun> projects, CliEnvironment& env) {
    bool any = command.leave != nullptr;
    for (const auto& items : command.projectLeave)
        any = any || items != nullptr;
    if (!any)
        return;
    for (std::size_t i = 0; i < projects.size(); ++i) {
        const std::vector<LeaveFileInForce> files = leaveFilesOf(command, i, projects[i].name);
        const std::shared_ptr<const LeaveList> leave = leaveListOf(files);
        std::ostringstream quiet;
        CliEnvironment silent{quiet, quiet, false, env.settingsFolder, false};
        const auto entries = entriesOf(command, projects[i], projects[i].text, *leave, silent);
        if (!entries)
            continue;
        std::vector<bool> named;
        markNamedItems(*leave, *entries, holdingFolder(projects[i].file), named);
        keepNamedMarks(files, named);
    }
    reportLeaveItemsNamingNothing(command, "worked on", env);
}

int runProject(const CommandPlan& command, ProjectToRun project, std::size_t index,
               CliEnvironment& env) {
    const Arguments& parsed = command.arguments;
    std::string text = project.text;
    if (parsed.output && project.document) {
        // The copy is the document worked on.
        project.document = openDocument(project.file, bytesFromPath(project.file), env);
        if (!project.document)
            return ExitUsage;
    } else if (parsed.output && project.shape == ProjectShape::ProjectFile) {
        // The copy's project file is the one worked on.
        const ProjectReadStatus read = readProjectText(project.file, text);
        if (read != ProjectReadStatus::Ok) {
            reportProjectFailure(env, read, bytesFromPath(project.file));
            return ExitUsage;
        }
    }
    const std::vector<LeaveFileInForce> leaveFiles = leaveFilesOf(command, index, project.name);
    const std::shared_ptr<const LeaveList> leave = leaveListOf(leaveFiles);
    std::optional<std::vector<ListEntry>> listed = entriesOf(command, project, text, *leave, env);
    if (!listed)
        return ExitUsage;
    std::vector<ListEntry>& entries = *listed;
    const bool reports =
        parsed.command == CliCommand::List || parsed.command == CliCommand::Check || parsed.dryRun;
    if (command.inGroup && reports && !command.json)
        env.out << "project: " << project.name << '\n';

    if (parsed.command == CliCommand::List) {
        for (const ListEntry& entry : entries)
            env.out << shownEntry(entry.text, env.outIsTerminal) << '\n';
        env.out.flush();
        return ExitOk;
    }

    CliObserver observer(env, entries.size(), command.inGroup ? project.name + ": " : "");
    const fs::path folder = holdingFolder(project.file);
    // A dry run's report goes out as the files come.
    DryRunReport report(folder, parsed.diff, [&](std::string_view text) { observer.print(text); });
    DryRunFiles dryRun(report, parsed.diff);
    PassTargets targets{entries, folder,      command.insertion, parsed.dryRun ? &dryRun : nullptr,
                        true,    command.jobs};
    targets.lineNumbers = command.lineNumbers;
    targets.document = project.document.get();
    targets.dropSignature = parsed.dropSignature;
    if (!leave->empty())
        targets.leave = leave;
    if (command.insertion.handlerTemplate)
        targets.insertion.projectName = projectNameOf(project, text);
    if (parsed.command == CliCommand::Check) {
        std::vector<bool> named;
        const int status = runCheck(command, targets, project, named, observer, env);
        keepNamedMarks(leaveFiles, named);
        return status;
    }
    const FailureCollector failures = runPassCommand(command.passes, targets, observer);
    if (parsed.dryRun) {
        report.finish();
        if (!parsed.diff)
            env.out << lineLimitNotes(dryRun);
    }
    return failures.empty() && !observer.lineLimitExceeded() ? ExitOk : ExitSomeFilesFailed;
}

} // namespace

std::string shownEntry(std::string_view entryBytes, bool terminal) {
    return terminal ? entryDisplayText(entryBytes) : std::string(entryBytes);
}

int runCli(const std::vector<std::string>& args, CliEnvironment& env) {
    if (const std::optional<CliOption> request = standAloneOption(args)) {
        if (*request == CliOption::Help)
            env.out << helpText();
        else
            env.out << "faultward-cli " << kDisplayVersion << '\n';
        return ExitOk;
    }
    Arguments parsed;
    if (const auto problem = parseArguments(args, parsed)) {
        env.err << "faultward-cli: " << *problem << "\nTry 'faultward-cli --help'.\n";
        return ExitUsage;
    }

    std::error_code error;
    fs::path top = fs::absolute(pathFromBytes(parsed.project), error);
    if (projectShapeOf(top) == ProjectShape::ModuleFolder)
        top = holdingFolder(top);
    std::optional<std::vector<ProjectToRun>> projects;
    if (parsed.command != CliCommand::Init) {
        projects = projectsToRun(parsed, top, env);
        if (!projects || !readProjects(*projects, env))
            return ExitUsage;
    }

    if (parsed.command == CliCommand::Init)
        return runInit(parsed, top, env);
    std::vector<fs::path> groupProjects;
    if (projectShapeOf(top) == ProjectShape::GroupFile)
        for (const ProjectToRun& project : *projects)
            groupProjects.push_back(project.file);
    const std::optional<CommandPlan> command = planCommand(parsed, top, groupProjects, env);
    if (!command)
        return ExitUsage;

    if (!maySignatureGo(*command, *projects, env))
        return ExitUsage;
    if (!mayWorkOutside(*command, top, *projects, env))
        return ExitOutside;
    int status = ExitOk;
    std::optional<fs::path> copy;
    if (parsed.output) {
        // A copy that failed part-way sets status 1; one refused outright leaves it.
        copy = copyForRelease(top, *projects, *command, env, status);
        if (!copy)
            return status == ExitOk ? ExitUsage : status;
    }
    if (parsed.command != CliCommand::Check && parsed.command != CliCommand::List)
        warnOfLeaveItemsNamingNothing(*command, *projects, env);
    for (std::size_t i = 0; i < projects->size(); ++i)
        status = std::max(status, runProject(*command, (*projects)[i], i, env));
    if (parsed.command == CliCommand::Check)
        reportLeaveItemsNamingNothing(*command, "checked", env);
    if (command->json)
        env.out << command->json->end();
    if (copy)
        env.out << bytesFromPath(*copy) << '\n';
    env.out.flush();
    return status;
}

} // namespace faultward

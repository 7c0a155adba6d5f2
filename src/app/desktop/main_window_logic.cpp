#include "app/desktop/main_window_logic.h"

#include "app/commands/list_source.h"
#include "app/desktop/handler_settings_dialog.h"
#include "app/desktop/menus.h"
#include "app/desktop/report_window.h"
#include "app/texts/texts.h"
#include "platform/path_bytes.h"
#include "project/project_shape.h"

#include <exception>

namespace faultward {
namespace {

std::vector<std::string> optionalProblem(const std::optional<std::string>& problem) {
    return problem ? std::vector<std::string>{*problem} : std::vector<std::string>{};
}

} // namespace

MainWindowLogic::MainWindowLogic(Module1& module, MainWindowView& view, ProjectFilesLogic& files,
                                 SoundPlayer& sound, HelpOpener& help, ConsentRecords& consent)
    : module_(module), view_(view), files_(files), sound_(sound), help_(help), consent_(consent) {}

void MainWindowLogic::MDIForm_Load() {
    view_.setCaption(kProductName);
}

void MainWindowLogic::MDIForm_Unload() {
    if (const std::optional<WindowPlacement> placement = view_.placement())
        module_.setWindowPlacement(*placement);
    if (const std::optional<std::string> problem = module_.Save_Settings())
        view_.showMessage(*problem, MessageIcon::Warning, {});
}

void MainWindowLogic::showSettingsWarnings() {
    std::string text;
    for (const std::string& warning : module_.settingsWarnings())
        text += (text.empty() ? "" : "\n") + warning;
    if (!text.empty())
        view_.showMessage(text, MessageIcon::Warning, {});
}

void MainWindowLogic::mnu_f_Click(int Index) {
    cmd_nav(commandOfNumber(Index));
}

void MainWindowLogic::mnu_o_Click(int Index) {
    if (Index == kHandlerSettingsItem) {
        openHandlerSettings();
        return;
    }
    const HandlingMode chosen = handlingModeOf(static_cast<std::int16_t>(Index));
    // A project that keeps its handler settings keeps its mode too.
    if (files_.choices().keepsHandlerSettings())
        showProblems(optionalProblem(files_.choices().setMode(chosen)));
    else
        module_.setErrorFlag(chosen);
    showModeInForce();
}

void MainWindowLogic::showModeInForce() {
    const HandlingMode inForce = files_.settingsInForce().mode;
    for (const HandlingMode mode : kHandlingModes)
        view_.setModeChecked(mode, false);
    if (isModeItem(inForce))
        view_.setModeChecked(inForce, true);
}

void MainWindowLogic::mnu_h_Click(int Index) {
    if (Index == 0)
        help_.sendHelpKey();
    else if (Index == 2)
        view_.showAbout();
}

void MainWindowLogic::cmd_nav(Command Index) {
    try {
        sound_.Play_Sound(kClickCue);
        switch (Index) {
        case Command::Open:
            Open_Project();
            break;
        case Command::OpenFolder:
            Open_Folder();
            break;
        case Command::Insert:
            runPasses(PassCommand::Insert);
            break;
        case Command::Remove:
            runPasses(PassCommand::Remove);
            break;
        case Command::Exit:
            view_.endProgramNow();
            break;
        case Command::Help:
            help_.sendHelpKey();
            break;
        case Command::AddLineNumbers:
            runPasses(PassCommand::Number);
            break;
        case Command::RemoveLineNumbers:
            runPasses(PassCommand::Unnumber);
            break;
        case Command::Preview:
            showReport(true);
            break;
        case Command::Check:
            showReport(false);
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        // A command that fails ends where it failed, without a message.
    }
}

void MainWindowLogic::runPasses(PassCommand command, bool renumber) {
    sound_.Stop_Sound();
    // Asked before the template is read: it may be the file asked about.
    if (!mayWorkOutside(command))
        return;
    PassSettings settings = passSettings(files_.settingsInForce(), files_.projectName(), command);
    if (settings.lineNumbers)
        settings.lineNumbers->renumber = renumber;
    if (!settings.problem.empty()) {
        view_.showMessage(settings.problem, MessageIcon::Warning, {});
        return;
    }
    // A signed project loses its signature only with the user's word.
    const std::optional<std::string> signedProject = files_.signatureRefusal();
    if (signedProject && !view_.askYesNo(dropSignatureQuestion(
                             pathDisplayText(module_.Project_File()), *signedProject)))
        return;
    const FailureCollector failures =
        files_.runPasses(command, settings, signedProject.has_value());
    sound_.Play_Sound(kCompletionCue);
    // The passes skip what they cannot read or write; say so rather than let
    // "Task Completed" stand for success.
    if (!failures.empty())
        view_.showMessage(failureMessage(failures), MessageIcon::Warning, failureDetails(failures));
    showNumberingNotes(command, renumber);
}

void MainWindowLogic::showNumberingNotes(PassCommand command, bool renumbered) {
    const NumberingNotes notes = files_.numberingNotes();
    if (!notes.renumbered.empty())
        view_.showMessage(proceduresRenumberedMessage(notes.renumbered), MessageIcon::None,
                          proceduresLeftDetails(notes.renumbered));
    if (notes.leftWhole.empty())
        return;
    // Procedures whose numbers could not be added or taken out safely.
    const std::string details = proceduresLeftDetails(notes.leftWhole);
    if (renumbered || notes.renumberable == 0) {
        view_.showMessage(proceduresLeftMessage(notes.leftWhole), MessageIcon::Warning, details);
        return;
    }
    const bool unnumbers = command == PassCommand::Unnumber || command == PassCommand::Remove;
    if (view_.showMessageWithChoice(
            proceduresLeftMessage(notes.leftWhole, notes.renumberable, command),
            MessageIcon::Warning, details, unnumbers ? kUnnumberChoice : kRenumberChoice))
        runPasses(command, true);
}

bool MainWindowLogic::mayWorkOutside(PassCommand command) {
    const std::optional<ProjectFilesLogic::OutsideWork> outside = files_.outsideWork(command);
    if (!outside || consent_.given(outside->keys))
        return true;
    if (!view_.askYesNo(outsideQuestion(command, outside->folder, outside->files)))
        return false;
    if (const std::optional<std::string> problem = consent_.remember(outside->keys))
        view_.showMessage(*problem, MessageIcon::Warning, {});
    return true;
}

void MainWindowLogic::Open_Project() {
    // Clears what a pass left in the caption.
    view_.setCaption(kProductName);
    const std::optional<std::string> chosen =
        view_.askOpenFile({module_.Project_File(), kProjectFilter, kProjectFilterIndex});
    if (chosen)
        openChosen(*chosen);
}

void MainWindowLogic::Open_Folder() {
    view_.setCaption(kProductName);
    if (const std::optional<std::string> chosen = view_.askOpenFolder(module_.Project_File()))
        openChosen(*chosen);
}

void MainWindowLogic::openChosen(const std::string& chosen) {
    // Kept even when the file cannot be read, so the next dialog starts there.
    module_.setProjectFile(chosen);
    // Relative entries name files in the project's folder; it also becomes the
    // current folder, as the file dialog always left it.
    const std::filesystem::path folder = holdingFolder(pathFromBytes(chosen));
    std::error_code error;
    std::filesystem::current_path(folder, error);

    const HandlingMode modeBefore = files_.settingsInForce().mode;
    files_.clearList();
    std::vector<std::string> problems = files_.openChoices(chosen);
    const ListSource source = readListSource(chosen, files_.settingsInForce().handler.files);
    if (source.opened)
        files_.showList(source, chosen, folder);
    // The next step is the list's: ticking and opening its files.
    if (!files_.entries().empty())
        files_.focusList();
    if (files_.settingsInForce().mode != modeBefore)
        showModeInForce();
    // The empty list alone would leave the user guessing why.
    problems.insert(problems.end(), source.problems.begin(), source.problems.end());
    showProblems(problems);
}

void MainWindowLogic::showProblems(const std::vector<std::string>& problems) {
    for (const std::string& problem : problems)
        view_.showMessage(problem, MessageIcon::Warning, {});
}

void MainWindowLogic::openHandlerSettings() {
    const LayeredSettings inForce = files_.settingsInForce();
    ProjectChoices& choices = files_.choices();
    HandlerSettingsDialog dialog(inForce.handler, view_, help_);
    if (choices.isOpen())
        dialog.offerKeepWithProject(choices.fileName(), choices.keepsHandlerSettings());
    view_.showHandlerSettings(dialog);
    if (!dialog.accepted())
        return;
    const bool kindsChanged = dialog.settings().files != inForce.handler.files;
    if (dialog.keepWithProject()) {
        showProblems(optionalProblem(choices.keepHandlerSettings(dialog.settings(), inForce.mode)));
    } else {
        // Kept as this user's again: the mode in force becomes the user's.
        if (choices.keepsHandlerSettings()) {
            module_.setErrorFlag(inForce.mode);
            showProblems(optionalProblem(choices.dropHandlerSettings()));
        }
        module_.setHandlerSettings(dialog.settings());
    }
    if (files_.settingsInForce().mode != inForce.mode)
        showModeInForce();
    // The list holds the files of the chosen kinds, as after Open.
    if (kindsChanged && files_.hasList())
        showProblems(files_.reload(files_.settingsInForce().handler.files));
}

void MainWindowLogic::showReport(bool preview) {
    sound_.Stop_Sound();
    // The preview shows what Insert writes, line numbers and all.
    const LayeredSettings inForce = files_.settingsInForce();
    const PassSettings settings =
        preview ? passSettings(inForce, files_.projectName(), PassCommand::Insert)
                : surveySettings(inForce.handler, inForce.mode, files_.projectName());
    if (!settings.problem.empty()) {
        view_.showMessage(settings.problem, MessageIcon::Warning, {});
        return;
    }
    view_.showBusyPointer();
    ReportRun run = preview ? files_.preview(settings) : files_.check(settings);
    view_.showDefaultPointer();
    if (!run.failures.empty())
        view_.showMessage(failureMessage(run.failures), MessageIcon::Warning,
                          failureDetails(run.failures));
    // A large project's report runs to megabytes: it moves, not copied.
    ReportWindow window(preview ? ReportWindow::Kind::Preview : ReportWindow::Kind::Check,
                        std::move(run.text), view_);
    view_.showReport(window);
    if (window.insertChosen())
        runPasses(PassCommand::Insert);
}

} // namespace faultward

#include "app/main_window_logic.h"

#include "app/handler_settings_dialog.h"
#include "app/list_source.h"
#include "app/menus.h"
#include "app/report_window.h"
#include "app/texts.h"
#include "platform/path_bytes.h"

#include <exception>

namespace faultward {

MainWindowLogic::MainWindowLogic(Module1& module, MainWindowView& view, ProjectFilesLogic& files,
                                 SoundPlayer& sound, HelpOpener& help)
    : module_(module), view_(view), files_(files), sound_(sound), help_(help) {}

void MainWindowLogic::MDIForm_Load() {
    view_.setCaption(kProductName);
}

void MainWindowLogic::MDIForm_Unload() {
    module_.Save_Settings();
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
    for (const HandlingMode mode : kHandlingModes)
        view_.setModeChecked(mode, false);
    if (isModeItem(chosen))
        view_.setModeChecked(chosen, true);
    module_.setErrorFlag(chosen);
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

void MainWindowLogic::runPasses(PassCommand command) {
    sound_.Stop_Sound();
    const PassSettings settings = passSettings(module_.handlerSettings(), module_.Error_Flag(),
                                               files_.projectName(), command);
    if (!settings.problem.empty()) {
        view_.showMessage(settings.problem, MessageIcon::Warning, {});
        return;
    }
    const FailureCollector failures = files_.runPasses(command, settings);
    sound_.Play_Sound(kCompletionCue);
    // The passes skip what they cannot read or write; say so rather than let
    // "Task Completed" stand for success.
    if (!failures.empty())
        view_.showMessage(failureMessage(failures), MessageIcon::Warning, failureDetails(failures));
    // Procedures whose numbers could not be added or taken out safely.
    if (!files_.proceduresLeftWhole().empty())
        view_.showMessage(proceduresLeftMessage(files_.proceduresLeftWhole()), MessageIcon::Warning,
                          proceduresLeftDetails(files_.proceduresLeftWhole()));
}

void MainWindowLogic::Open_Project() {
    // Clears what a pass left in the caption.
    view_.setCaption(kProductName);
    const std::optional<std::string> chosen =
        view_.askOpenFile({module_.Project_File(), kProjectFilter, kProjectFilterIndex});
    if (!chosen)
        return;

    // Kept even when the file cannot be read, so the next dialog starts there.
    module_.setProjectFile(*chosen);
    // Relative entries name files in the project's folder; it also becomes the
    // current folder, as the file dialog always left it.
    const std::filesystem::path project = pathFromBytes(*chosen);
    const std::filesystem::path folder = project.parent_path();
    std::error_code error;
    std::filesystem::current_path(folder, error);

    files_.clearList();
    const ListSource source = readListSource(*chosen, module_.handlerSettings().files);
    if (source.opened)
        files_.showList(source, *chosen, folder);
    // The empty list alone would leave the user guessing why.
    showProblems(source.problems);
}

void MainWindowLogic::showProblems(const std::vector<std::string>& problems) {
    for (const std::string& problem : problems)
        view_.showMessage(problem, MessageIcon::Warning, {});
}

void MainWindowLogic::openHandlerSettings() {
    HandlerSettingsDialog dialog(module_.handlerSettings(), view_, help_);
    view_.showHandlerSettings(dialog);
    if (!dialog.accepted())
        return;
    const bool kindsChanged = dialog.settings().files != module_.handlerSettings().files;
    module_.setHandlerSettings(dialog.settings());
    // The list holds the files of the chosen kinds, as after Open.
    if (kindsChanged && files_.hasList())
        showProblems(files_.reload(dialog.settings().files));
}

void MainWindowLogic::showReport(bool preview) {
    sound_.Stop_Sound();
    const PassSettings settings =
        surveySettings(module_.handlerSettings(), module_.Error_Flag(), files_.projectName());
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

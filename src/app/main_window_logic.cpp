#include "app/main_window_logic.h"

#include "app/menus.h"
#include "app/texts.h"
#include "platform/path_bytes.h"
#include "project/project_reader.h"

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
        default:
            break;
        }
    } catch (const std::exception&) {
        // A command that fails ends where it failed, without a message.
    }
}

void MainWindowLogic::runPasses(PassCommand command) {
    sound_.Stop_Sound();
    const FailureCollector failures = files_.runPasses(command);
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
    const ProjectRead read = readProjectFile(project);
    if (read.status != ProjectReadStatus::Ok) {
        // The empty list alone would leave the user guessing why.
        view_.showMessage(describeProjectFailure(read.status, pathDisplayText(*chosen)),
                          MessageIcon::Warning, {});
        return;
    }
    files_.showProject(read.entries, *chosen, folder);
}

} // namespace faultward

#pragma once

#include "app/commands/consent_records.h"
#include "app/commands/pass_driver.h"
#include "app/desktop/command.h"
#include "app/desktop/help_opener.h"
#include "app/desktop/module1.h"
#include "app/desktop/project_files_logic.h"
#include "app/desktop/sound_player.h"
#include "app/desktop/views.h"

#include <string>
#include <vector>

namespace faultward {

// What the main window does, whatever shows it: the one command routine that
// the File menu and the tool row share, the Options and Help menus, and what
// happens when the window loads and closes.
class MainWindowLogic {
public:
    // consent keeps the user's answers that let commands write outside a
    // project's folder.
    MainWindowLogic(Module1& module, MainWindowView& view, ProjectFilesLogic& files,
                    SoundPlayer& sound, HelpOpener& help, ConsentRecords& consent);

    void MDIForm_Load();
    // Closing the window keeps the settings and where the window was left;
    // File, Exit does not come here.
    void MDIForm_Unload();
    // Once the main window shows: names the stored settings that are not
    // used as written, if any.
    void showSettingsWarnings();

    // Any other command than these only plays the click. A command that
    // fails ends where it failed, without a message.
    void cmd_nav(Command Index);
    // The menus' items by index: the File items' are command numbers.
    void mnu_f_Click(int Index);
    // Makes the mode numbered Index the only checked Options item and the
    // handling mode; item 4 opens the Handler Settings dialog.
    void mnu_o_Click(int Index);
    void mnu_h_Click(int Index);

private:
    void Open_Project();
    void Open_Folder();
    // Lists what the user chose to open: a project or group file, a
    // document, a folder of modules.
    void openChosen(const std::string& chosen);
    // Whether the command may write the files it would write outside the
    // project's folder: the user said so now or before for these bytes.
    bool mayWorkOutside(PassCommand command);
    // renumber: every number of the chosen procedures is taken for the tool's.
    void runPasses(PassCommand command, bool renumber = false);
    // What the passes said of line numbers; the choice to renumber those left
    // for holding their author's numbers runs the command again so.
    void showNumberingNotes(PassCommand command, bool renumbered);
    void openHandlerSettings();
    void showProblems(const std::vector<std::string>& problems);
    // Checks the Options item of the mode in force, the project's or the user's.
    void showModeInForce();
    // Preview Insertion and Check Project.
    void showReport(bool preview);

    Module1& module_;
    MainWindowView& view_;
    ProjectFilesLogic& files_;
    SoundPlayer& sound_;
    HelpOpener& help_;
    ConsentRecords& consent_;
};

} // namespace faultward

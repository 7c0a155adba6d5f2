#pragma once

#include "app/commands/consent_records.h"
#include "app/desktop/help_opener.h"
#include "app/desktop/main_window_logic.h"
#include "app/desktop/module1.h"
#include "app/desktop/project_files_logic.h"
#include "app/desktop/sound_player.h"
#include "app/desktop/views.h"

namespace faultward {

// The core of the desktop program over the windows of a front end: the
// project files window's logic, and the main window's, which runs its
// commands on it. Made, it has loaded the main window (its caption); the
// front end shows the project files window after that.
class DesktopCore {
public:
    DesktopCore(Module1& module, MainWindowView& main, ProjectFilesView& files, SoundPlayer& sound,
                HelpOpener& help, ConsentRecords& consent);
    DesktopCore(const DesktopCore&) = delete;
    DesktopCore& operator=(const DesktopCore&) = delete;

    MainWindowLogic& logic() { return logic_; }
    ProjectFilesLogic& projectFiles() { return projectFiles_; }

private:
    ProjectFilesLogic projectFiles_;
    MainWindowLogic logic_;
};

} // namespace faultward

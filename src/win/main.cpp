#include "app/commands/consent_records.h"
#include "app/desktop/help_file.h"
#include "app/desktop/main_window_logic.h"
#include "app/desktop/module1.h"
#include "app/desktop/sound_cues.h"
#include "app/settings/settings.h"
#include "platform/executable_folder.h"
#include "platform/user_folders.h"
#include "win/file_dialog.h"
#include "win/form1.h"
#include "win/frmAbout.h"
#include "win/help_key.h"
#include "win/mdi_form1.h"
#include "win/message_boxes.h"
#include "win/message_loop.h"
#include "win/program_windows.h"
#include "win/resource_sound.h"
#include "win/stand_alone_text.h"
#include "win/win32_sys_info_platform.h"

#include <commctrl.h>
#include <windows.h>

#include <cstdlib>

// Main: loads the settings, shows the main window and runs until the last
// window of the program has closed. --help and --version print their text
// instead.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    using namespace faultward;
    using namespace faultward::win;

    if (const auto text = standAloneText()) {
        printStandAloneText(*text);
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    const std::filesystem::path folder = executableFolder();
    const auto store = openSettingsStore(folder);
    Module1 module(*store, folder);

    ProgramWindows windows([] { PostQuitMessage(0); });
    const auto messageBoxes = makeSystemMessageBoxes();
    const auto fileDialog = makeCommonFileDialog();
    // The help lies beside faultward.exe, wherever it was started from.
    HelpKey help(findHelpFile({folder}), *messageBoxes);
    MessageLoop loop(help);

    ResourceCueStore cues;
    SystemWaveOutput output([&loop] { loop.handlePending(); });
    SoundCues sound(cues, output);
    Win32SysInfoPlatform sysInfo(*messageBoxes);
    frmAbout about(
        sysInfo, [&windows] { windows.opened(); }, [&windows] { windows.closed(); });

    ConsentRecords consent(userStateFolder());
    MDIForm1 window(module, {sound, help, about, *fileDialog, *messageBoxes, consent,
                             [] { std::_Exit(0); }, [&windows] { windows.closed(); }});
    windows.opened();
    module.Load_Settings(window);
    ShowWindow(window.hwnd(), window.firstShowCommand(showCommand));
    UpdateWindow(window.hwnd());
    window.logic().showSettingsWarnings();

    loop.setMdiClient(window.mdiClient());
    loop.setDialogWindows([&] {
        return std::vector<HWND>{window.hwnd() ? window.form1().hwnd() : nullptr, about.hwnd()};
    });
    return loop.run();
}

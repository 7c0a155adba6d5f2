#include "app/commands/consent_records.h"
#include "app/desktop/desktop_arguments.h"
#include "app/desktop/main_window_logic.h"
#include "app/desktop/module1.h"
#include "app/desktop/sound_cues.h"
#include "app/settings/settings.h"
#include "app/texts/texts.h"
#include "platform/executable_folder.h"
#include "platform/user_folders.h"
#include "ui/desktop_sys_info_platform.h"
#include "ui/file_dialog.h"
#include "ui/frmAbout.h"
#include "ui/help_key.h"
#include "ui/mdi_form1.h"
#include "ui/message_boxes.h"
#include "ui/qt_sound_output.h"
#include "version/faultward_version.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Main: loads the settings, shows the main window and names the help file.
// --help and --version print their text instead, with no display needed.
int main(int argc, char* argv[]) {
    using namespace faultward;
    if (const auto text = desktopStandAloneText(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fwrite(text->data(), 1, text->size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kProductName));
    QApplication::setApplicationVersion(QString::fromLatin1(kDisplayVersion));
    QApplication::setWindowIcon(applicationIcon());

    const std::filesystem::path folder = executableFolder();
    const auto store = openSettingsStore(folder);
    Module1 module(*store, folder);

    QtCueStore cues;
    QtSoundOutput output;
    SoundCues sound(cues, output);
    const auto messageBoxes = makeQtMessageBoxes();
    help::HelpKey helpKey(help::defaultHelpFilePath(), *messageBoxes);
    help::HelpKeySender helpKeySender(&helpKey);
    about::DesktopSysInfoPlatform sysInfo;
    AboutBox about(sysInfo);
    const auto fileDialog = makeQtFileDialog();
    ConsentRecords consent(userStateFolder());

    MDIForm1 window(module, {sound, helpKeySender, about, *fileDialog, *messageBoxes, consent,
                             [] { std::_Exit(0); }});
    module.Load_Settings(window);
    window.show();
    window.logic().showSettingsWarnings();
    app.installEventFilter(&helpKey);
    return QApplication::exec();
}

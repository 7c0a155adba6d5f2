#include "faultward_version.h"
#include "frmAbout.h"
#include "help_key.h"
#include "mdi_form1.h"
#include "module1.h"
#include "settings.h"

#include <QApplication>
#include <QFile>
#include <QIcon>

// Main: loads the settings, shows the main window and names the help file.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Faultward"));
    QApplication::setApplicationVersion(QString::fromLatin1(faultward::kDisplayVersion));
    QApplication::setWindowIcon(faultward::applicationIcon());

    const std::filesystem::path folder = faultward::executableFolder();
    faultward::IniFileStore store(faultward::settingsFilePath(folder));
    faultward::Module1 module(store, folder);
    faultward::MDIForm1 window(module);
    window.onShowAbout = [] { faultward::about::frmAbout::showAbout(); };
    module.Load_Settings(window);
    window.show();
    module.Help_File = module.App_Path / faultward::help::kHelpFileName;
    faultward::help::setApplicationHelpFile(
        QFile::decodeName(QByteArray::fromStdString(module.Help_File.native())));
    return QApplication::exec();
}

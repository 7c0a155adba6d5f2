#include "ui/desktop_sys_info_platform.h"

#include "platform/entry_path.h"
#include "ui/dialog_frame.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcess>

#include <filesystem>

namespace faultward::about {

DesktopSysInfoPlatform::DesktopSysInfoPlatform(QWidget* messageParent)
    : messageParent_(messageParent) {}

Registry& DesktopSysInfoPlatform::registry() {
    return registry_;
}

std::optional<std::string>
DesktopSysInfoPlatform::findOrdinaryFile(const std::string& windowsPath) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path base = fs::current_path(error);
    const auto found = resolveEntryPath(windowsPath, base);
    if (!found || !fs::is_regular_file(*found, error))
        return std::nullopt;
    // Names that begin with a dot are this system's hidden files.
    if (found->filename().string().starts_with('.'))
        return std::nullopt;
    return found->string();
}

bool DesktopSysInfoPlatform::startProgram(const std::string& commandLine) {
    // The text names the program as a whole; nothing is split off as arguments.
    const QString program = QFile::decodeName(QByteArray::fromStdString(commandLine));
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

void DesktopSysInfoPlatform::showUnavailable() {
    // Over the window the user clicked in, the About window as a rule.
    QWidget* parent = messageParent_ ? messageParent_.data() : QApplication::activeWindow();
    makeUnavailableMessage(parent)->exec();
}

std::unique_ptr<QMessageBox> makeUnavailableMessage(QWidget* parent) {
    return std::make_unique<QMessageBox>(QMessageBox::NoIcon, QStringLiteral("Faultward"),
                                         QString::fromLatin1(kSysInfoUnavailable), QMessageBox::Ok,
                                         parent, kFixedDialogFrame);
}

} // namespace faultward::about

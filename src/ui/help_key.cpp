#include "ui/help_key.h"

#include "platform/executable_folder.h"
#include "ui/help_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>

namespace faultward::help {

QString defaultHelpFilePath() {
    const std::filesystem::path folder = executableFolder();
    const std::filesystem::path file =
        findHelpFile({folder, (folder / FAULTWARD_SHARED_FILES_FROM_BINDIR).lexically_normal()});
    return QFile::decodeName(QByteArray::fromStdString(file.native()));
}

QString missingHelpText(const QString& path) {
    return QString::fromStdString(
        faultward::missingHelpText(QDir::toNativeSeparators(path).toStdString()));
}

HelpKey::HelpKey(QString helpFile, MessageBoxes& notices, QObject* parent)
    : QObject(parent), helpFile_(std::move(helpFile)), notices_(notices) {}

void HelpKey::showHelp(const QString& section) {
    if (QFileInfo(helpFile_).isFile())
        HelpWindow::showFile(helpFile_, QApplication::activeWindow(), section);
    else
        notices_.showMessage(QApplication::activeWindow(), missingHelpText(helpFile_),
                             MessageIcon::Warning);
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && !key->isAutoRepeat()) {
            showHelp();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void HelpKeySender::sendHelpKey() {
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    // No window has the focus while the program is not the active one; the
    // key then goes to the first of its windows on screen.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (!target && window->isVisible())
            target = window;
    if (!target)
        return;
    QApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
    QApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier));
}

void HelpKeySender::showHelpSection(std::string_view section) {
    if (!key_) {
        sendHelpKey();
        return;
    }
    key_->showHelp(QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())));
}

} // namespace faultward::help

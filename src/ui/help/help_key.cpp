#include "help_key.h"

#include "help_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>

namespace faultward::help {
namespace {

QPointer<HelpKey>& installedKey() {
    static QPointer<HelpKey> key;
    return key;
}

void showMissingMessage(const QString& text) {
    QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Faultward"), text);
}

} // namespace

QString defaultHelpFilePath() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kHelpFileName);
}

QString missingHelpText(const QString& path) {
    return QStringLiteral("The help file %1 could not be found.")
        .arg(QDir::toNativeSeparators(path));
}

HelpKey::HelpKey(QString helpFile, QObject* parent)
    : QObject(parent), helpFile_(std::move(helpFile)), missingNotice_(showMissingMessage) {}

void HelpKey::showHelp() {
    if (QFileInfo(helpFile_).isFile())
        HelpWindow::showFile(helpFile_);
    else
        missingNotice_(missingHelpText(helpFile_));
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

HelpKey* setApplicationHelpFile(const QString& path) {
    QPointer<HelpKey>& key = installedKey();
    delete key;
    key = new HelpKey(path, QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(key);
    return key;
}

HelpKey* applicationHelpKey() {
    return installedKey();
}

} // namespace faultward::help

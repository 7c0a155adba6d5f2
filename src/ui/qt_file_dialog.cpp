#include "ui/file_dialog.h"

#include <QFileDialog>
#include <QStringList>

namespace faultward {
// Qt takes a filter's patterns, separated by spaces, from the parentheses at
// the end of its text; descriptions that do not already end that way get them
// added.
QStringList qtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const QString& pattern = parts[i + 1];
        // On Windows "*.*" matches every file; here it would hide the names
        // without a dot, so it becomes the "*" that means every file here.
        QString qtPattern = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
        qtPattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString suffix = QLatin1Char('(') + pattern + QLatin1Char(')');
        if (description.endsWith(suffix))
            description.chop(suffix.size());
        else
            description += QLatin1Char(' ');
        filters << description + QLatin1Char('(') + qtPattern + QLatin1Char(')');
    }
    return filters;
}

namespace {

// Qt's own dialog everywhere: desktop-native ones may insist on an existing
// file when opening.
void setUp(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
}

std::optional<QString> chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

class QtFileDialog : public FileDialog {
public:
    std::optional<QString> askOpenFile(QWidget* parent, const FileDialogRequest& request) override {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // The chosen file need not exist.
        dialog.setFileMode(QFileDialog::AnyFile);
        setUp(dialog, request);
        return chosenFile(dialog);
    }

    std::optional<QString> askFolder(QWidget* parent, const QString& preset) override {
        QFileDialog dialog(parent);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (!preset.isEmpty())
            dialog.selectFile(preset);
        return chosenFile(dialog);
    }

    std::optional<QString> askSaveFile(QWidget* parent, const FileDialogRequest& request) override {
        QFileDialog dialog(parent);
        // Saving asks before it replaces a file.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(request.defaultExtension);
        setUp(dialog, request);
        return chosenFile(dialog);
    }
};

} // namespace

std::unique_ptr<FileDialog> makeQtFileDialog() {
    return std::make_unique<QtFileDialog>();
}

} // namespace faultward

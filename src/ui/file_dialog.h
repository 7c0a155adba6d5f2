#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QWidget;

namespace faultward {

// What the Open command asks the file-open dialog for.
struct FileDialogRequest {
    QString fileName;    // preset; its folder is where the dialog opens
    QString filter;      // "description|pattern|description|pattern..."
    int filterIndex = 1; // the filter shown first, counting from 1
    // Saving only: added to a name typed without an extension (no dot).
    QString defaultExtension = {};
};

// The file-open and file-save dialogs, behind an interface so tests can
// script the answer.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The chosen file's full path, which need not exist; nothing on cancel.
    virtual std::optional<QString> askOpenFile(QWidget* parent,
                                               const FileDialogRequest& request) = 0;
    // The chosen folder's full path, the dialog opened at preset; nothing on cancel.
    virtual std::optional<QString> askFolder(QWidget* parent, const QString& preset) = 0;
    // The chosen file's full path; replacing an existing file was confirmed.
    virtual std::optional<QString> askSaveFile(QWidget* parent,
                                               const FileDialogRequest& request) = 0;
};

std::unique_ptr<FileDialog> makeQtFileDialog();

// The filters in Qt's form, "description (patterns)", from "description|pattern"
// pairs.
QStringList qtNameFilters(const QString& filter);

} // namespace faultward

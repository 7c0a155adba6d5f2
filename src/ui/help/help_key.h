#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace faultward::help {

inline constexpr char kHelpFileName[] = "faultwardhelp.html";

// The help file beside the executable.
QString defaultHelpFilePath();

// The message that names a help file that is not there.
QString missingHelpText(const QString& path);

// The application's help file: F1, pressed in any window of the program or
// posted to one, opens it in the help window. When the file is missing a
// message naming its path says so instead.
class HelpKey final : public QObject {
public:
    using MissingNotice = std::function<void(const QString& text)>;

    HelpKey(QString helpFile, QObject* parent);

    const QString& helpFile() const { return helpFile_; }
    void showHelp();
    // Replaces the message box that reports a missing file; tests answer it.
    void setMissingNotice(MissingNotice notice) { missingNotice_ = std::move(notice); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString helpFile_;
    MissingNotice missingNotice_;
};

// Makes path the application's help file, replacing any earlier one. Needs
// the application object; the returned key lives as long as it does.
HelpKey* setApplicationHelpFile(const QString& path);
// The key set up by setApplicationHelpFile, or nullptr.
HelpKey* applicationHelpKey();

} // namespace faultward::help

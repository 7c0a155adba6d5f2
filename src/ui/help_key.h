#pragma once

#include "app/desktop/help_file.h"
#include "app/desktop/help_opener.h"
#include "ui/message_boxes.h"

#include <QObject>
#include <QString>

namespace faultward::help {

// The program's help file: beside the executable, else among the shared
// files of the prefix it is installed under; absolute.
QString defaultHelpFilePath();

// The message that names a help file that is not there.
QString missingHelpText(const QString& path);

// The program's help file: installed as the application's event filter, F1
// pressed in any window of the program, or posted to one, opens the file in
// the help window. When the file is missing a message naming its path says so.
class HelpKey final : public QObject {
public:
    HelpKey(QString helpFile, MessageBoxes& notices, QObject* parent = nullptr);

    const QString& helpFile() const { return helpFile_; }
    // The help file, at a section (an anchor of the page) when one is named.
    void showHelp(const QString& section = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString helpFile_;
    MessageBoxes& notices_;
};

// Sends F1 as if typed: to the widget with the keyboard focus, from where an
// unhandled key travels up to its window, and so to the HelpKey. A section is
// opened through the key's help file; without a key, F1 is sent.
class HelpKeySender : public HelpOpener {
public:
    explicit HelpKeySender(HelpKey* key = nullptr) : key_(key) {}
    void sendHelpKey() override;
    void showHelpSection(std::string_view section) override;

private:
    HelpKey* key_;
};

} // namespace faultward::help

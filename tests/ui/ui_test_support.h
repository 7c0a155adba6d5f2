#pragma once

#include "app/commands/consent_records.h"
#include "app/desktop/help_opener.h"
#include "app/desktop/module1.h"
#include "app/desktop/sound_player.h"
#include "app/settings/profile_store.h"
#include "support/temp_folder.h"
#include "ui/desktop_sys_info_platform.h"
#include "ui/file_dialog.h"
#include "ui/frmAbout.h"
#include "ui/help_key.h"
#include "ui/mdi_form1.h"
#include "ui/message_boxes.h"

#include <QString>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace faultward::uitest {

QString qpath(const std::filesystem::path& path);

// A report's bytes as its text view shows and copies them: Windows-1252,
// each line break (LF, CR LF, a lone CR) one line feed.
QString shownReport(std::string_view bytes);

// Answers the file dialogs from one script, in turn: a path, or nothing for
// Cancel.
class ScriptedFileDialog : public FileDialog {
public:
    std::optional<QString> askOpenFile(QWidget*, const FileDialogRequest& request) override;
    std::optional<QString> askSaveFile(QWidget*, const FileDialogRequest& request) override;
    std::optional<QString> askFolder(QWidget*, const QString& preset) override;
    std::deque<std::optional<QString>> answers;
    std::vector<FileDialogRequest> requests;
    QStringList folderRequests;
    std::vector<FileDialogRequest> saveRequests;

private:
    std::optional<QString> nextAnswer();
};

// A modal window's exec() holds the test until the window closes: this runs
// the given steps on the next modal window once it is open. The steps close it.
class OnNextModal {
public:
    explicit OnNextModal(std::function<void(QWidget&)> steps);
    bool ran() const { return ran_; }

private:
    QTimer timer_;
    bool ran_ = false;
};

// Sends F1 as the program does; remembers the help sections asked for.
class RecordingHelpSender : public help::HelpKeySender {
public:
    void showHelpSection(std::string_view section) override { sections.emplace_back(section); }
    std::vector<std::string> sections;
};

// Plays nothing; remembers the calls as "play 11", "play 12" and "stop".
class RecordingSoundPlayer : public SoundPlayer {
public:
    void Play_Sound(int id) override;
    void Stop_Sound() override;
    std::vector<std::string> calls;
    bool clickFails = false; // the click cue cannot be loaded, as when the resource is gone
};

// Remembers every message box instead of waiting for a person.
class RecordingMessageBoxes : public MessageBoxes {
public:
    void showMessage(QWidget*, const QString& text, MessageIcon icon,
                     const QString& details) override;
    bool askYesNo(QWidget*, const QString& text) override;
    std::vector<QString> questions;
    std::deque<bool> answers; // none left: No
    // Remembered as a message; answered from choiceAnswers, then with OK.
    bool showMessageWithChoice(QWidget*, const QString& text, MessageIcon icon,
                               const QString& details, const QString& choice) override;
    std::deque<bool> choiceAnswers;
    std::vector<QString> choices; // of every message, empty for none
    std::vector<QString> texts;
    std::vector<QString> details;
    std::vector<MessageIcon> icons;
};

// The program as main() puts it together, but with its settings file in a
// scratch folder and scripted dialogs, so nothing waits and nothing outside
// the scratch folder is touched.
class RunningProgram {
public:
    // settingsText: the ERRH.ini to start with; nothing starts without one.
    explicit RunningProgram(std::optional<std::string> settingsText = std::nullopt);
    ~RunningProgram();

    const std::filesystem::path& folder() const { return scratch_.path(); }
    std::filesystem::path settingsFile() const { return scratch_.path() / "app" / "ERRH.ini"; }
    std::filesystem::path write(std::string_view name, std::string_view bytes) const {
        return scratch_.write(name, bytes);
    }

    // Opens a project through the tool row's Open button and the scripted dialog.
    void openProject(const std::filesystem::path& project);
    // Clicks the named button or triggers the named menu item.
    void click(const char* objectName);
    void trigger(const char* objectName);

    Module1& module() { return *module_; }
    MDIForm1& window() { return *window_; }
    ScriptedFileDialog& dialog() { return dialog_; }
    RecordingMessageBoxes& messages() { return messages_; }
    RecordingSoundPlayer& sound() { return sound_; }
    AboutBox& about() { return about_; }
    RecordingHelpSender& help() { return helpKeySender_; }
    int terminations() const { return terminations_; }

private:
    faultward::testing::TempFolder scratch_;
    // Open leaves the current folder in the project; it is given back before
    // the scratch folder goes.
    faultward::testing::KeptCurrentFolder keptFolder_;
    std::unique_ptr<IniFileStore> store_;
    std::unique_ptr<Module1> module_;
    std::unique_ptr<ConsentRecords> consent_;
    ScriptedFileDialog dialog_;
    RecordingMessageBoxes messages_;
    RecordingSoundPlayer sound_;
    RecordingHelpSender helpKeySender_;
    about::DesktopSysInfoPlatform sysInfo_;
    AboutBox about_{sysInfo_};
    std::unique_ptr<MDIForm1> window_;
    int terminations_ = 0;
};

} // namespace faultward::uitest

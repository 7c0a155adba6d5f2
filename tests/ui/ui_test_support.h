#pragma once

#include "file_dialog.h"
#include "mdi_form1.h"
#include "message_boxes.h"
#include "module1.h"
#include "profile_store.h"
#include "temp_folder.h"

#include <QString>

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace faultward::uitest {

using faultward::testing::crlf;
using faultward::testing::readFile;

QString qpath(const std::filesystem::path& path);

// Answers the file-open dialog from a script: a path, or nothing for Cancel.
class ScriptedFileDialog : public FileDialog {
public:
    std::optional<QString> askOpenFile(QWidget*, const OpenFileRequest& request) override;
    std::deque<std::optional<QString>> answers;
    std::vector<OpenFileRequest> requests;
};

// Remembers every message box instead of waiting for a person.
class RecordingMessageBoxes : public MessageBoxes {
public:
    void showMessage(QWidget*, const QString& text, MessageIcon icon) override;
    std::vector<QString> texts;
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
    ScriptedFileDialog& dialog() { return *dialog_; }
    RecordingMessageBoxes& messages() { return *messages_; }
    int terminations() const { return terminations_; }

private:
    faultward::testing::TempFolder scratch_;
    std::unique_ptr<IniFileStore> store_;
    std::unique_ptr<Module1> module_;
    std::unique_ptr<MDIForm1> window_;
    ScriptedFileDialog* dialog_ = nullptr;
    RecordingMessageBoxes* messages_ = nullptr;
    int terminations_ = 0;
    std::filesystem::path startFolder_;
};

} // namespace faultward::uitest

#pragma once

#include "app/commands/consent_records.h"
#include "app/desktop/handler_settings_dialog.h"
#include "app/desktop/help_opener.h"
#include "app/desktop/main_window_logic.h"
#include "app/desktop/module1.h"
#include "app/desktop/project_files_logic.h"
#include "app/desktop/report_window.h"
#include "app/desktop/sound_player.h"
#include "app/desktop/views.h"
#include "app/settings/profile_store.h"
#include "support/memory_store.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace faultward::coretest {

// Both windows, the sound and the help as one recorder: every call the core
// makes is written to one log, in order, as "what args".
class FakeDesktop final : public MainWindowView,
                          public ProjectFilesView,
                          public SoundPlayer,
                          public HelpOpener {
public:
    // Every call the core can make, by name.
    std::optional<std::string> askOpenFile(const OpenFileRequest& request) override;
    std::optional<std::string> askOpenFolder(const std::string& preset) override;
    std::optional<std::string> askSaveFile(const SaveFileRequest& request) override;
    void enableInsertAndRemove() override;
    void endProgramNow() override;
    void Play_Sound(int id) override;
    void sendHelpKey() override;
    void showHelpSection(std::string_view section) override;
    void showHandlerSettings(HandlerSettingsDialog& dialog) override;
    void showReport(ReportWindow& window) override;
    void setCaption(std::string_view text) override;
    void setCurrentEntry(int index) override;
    void setEntrySelected(int index, bool selected) override;
    void setModeChecked(HandlingMode mode, bool checked) override;
    void setProgressRange(int minimum, int maximum) override;
    void setProgressValue(int value) override;
    void setProgressVisible(bool visible) override;
    void setProjectLabel(std::string_view projectPath) override;
    void showAbout() override;
    void showBusyPointer() override;
    void showDefaultPointer() override;
    void showEntries(std::span<const ListEntry> entries) override;
    void showMessage(std::string_view text, MessageIcon icon, std::string_view details) override;
    bool askYesNo(std::string_view text) override;
    bool showMessageWithChoice(std::string_view text, MessageIcon icon, std::string_view details,
                               std::string_view choice) override;
    void showProcedures(int entry, std::span<const ProcedureRow> rows) override;
    void Stop_Sound() override;
    void restorePlacement(const WindowPlacement& stored) override;
    std::optional<WindowPlacement> placement() const override { return windowPlacement; }
    void focusList() override;

    // The log entries that start with one of the prefixes, in order.
    std::vector<std::string> only(std::initializer_list<std::string_view> prefixes) const;

    std::vector<std::string> log;
    std::deque<std::optional<std::string>> dialogAnswers; // nothing: Cancel
    std::deque<bool> choiceAnswers; // true: the message's choice; none left: OK
    std::vector<OpenFileRequest> dialogRequests;
    std::deque<std::optional<std::string>> saveAnswers; // nothing: Cancel
    std::vector<SaveFileRequest> saveRequests;
    // What the user does in the modal windows while they are open.
    std::function<void(HandlerSettingsDialog&)> onSettings;
    std::function<void(ReportWindow&)> onReport;
    std::vector<std::string> reports; // the text of each report window shown
    std::vector<std::string> messages;
    std::vector<std::string> details;
    std::vector<std::string> questions;
    std::deque<bool> questionAnswers;                    // none left: No
    std::map<int, std::vector<ProcedureRow>> procedures; // under each entry, as last shown
    bool clickFails = false;                             // the click cue cannot be loaded
    std::string caption;
    std::optional<WindowPlacement> windowPlacement; // what the window says as it closes
};

using testing::MemoryStore;

// The desktop program's core as a front end puts it together.
struct CoreProgram {
    CoreProgram();
    MemoryStore store;
    FakeDesktop desktop;
    Module1 module{store, "/app"};
    ProjectFilesLogic files{desktop, desktop, module};
    TempFolder stateFolder; // the user's own records
    ConsentRecords consent{stateFolder.path()};
    MainWindowLogic main{module, desktop, files, desktop, desktop, consent};
};

// A program with a project of the given files opened through the dialog, in
// a folder of its own; the current folder is restored afterwards.
class OpenedProject : public ::testing::Test {
protected:
    void open(std::initializer_list<std::string_view> projectLines) {
        const std::filesystem::path vbp = folder.write("P.vbp", crlf(projectLines));
        program.desktop.dialogAnswers.push_back(vbp.string());
        program.main.cmd_nav(Command::Open);
        program.desktop.log.clear();
    }

    TempFolder folder;
    KeptCurrentFolder keptFolder;
    CoreProgram program;
};

} // namespace faultward::coretest

#pragma once

#include "app/commands/consent_records.h"
#include "app/desktop/help_opener.h"
#include "app/desktop/module1.h"
#include "app/desktop/sound_player.h"
#include "app/desktop/sys_info_launcher.h"
#include "app/settings/profile_store.h"
#include "support/memory_store.h"
#include "support/temp_folder.h"
#include "win/file_dialog.h"
#include "win/form1.h"
#include "win/frmAbout.h"
#include "win/mdi_form1.h"
#include "win/message_boxes.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace faultward::wintest {

using testing::MemoryStore;

struct RecordingSound final : SoundPlayer {
    void Play_Sound(int id) override { events.push_back(id); }
    void Stop_Sound() override { events.push_back(0); }
    std::vector<int> events; // cue numbers; 0 for a stop
};

struct RecordingHelp final : HelpOpener {
    void sendHelpKey() override { ++sent; }
    void showHelpSection(std::string_view section) override { sections.emplace_back(section); }
    int sent = 0;
    std::vector<std::string> sections;
};

struct ScriptedDialog final : win::FileDialog {
    std::optional<std::string> askOpenFile(HWND, const OpenFileRequest& request) override {
        asked.push_back({request.fileName, std::string(request.filter), request.filterIndex, {}});
        return answer;
    }
    std::optional<std::string> askFolder(HWND, const std::string& preset) override {
        askedForFolder.push_back(preset);
        return answer;
    }
    std::optional<std::string> askSaveFile(HWND owner, const SaveFileRequest& request) override {
        askedToSave.push_back({request.fileName, std::string(request.filter), request.filterIndex,
                               std::string(request.defaultExtension)});
        saveOwners.push_back(owner);
        return saveAnswer;
    }
    struct Asked {
        std::string fileName, filter;
        int filterIndex;
        std::string defaultExtension;
    };
    std::vector<Asked> asked, askedToSave;
    std::vector<std::string> askedForFolder;
    std::vector<HWND> saveOwners;
    std::optional<std::string> answer, saveAnswer;
};

struct RecordingMessages final : win::MessageBoxes {
    void showMessage(HWND owner, std::string_view text, MessageIcon icon,
                     std::string_view details) override {
        shown.push_back({std::string(text), icon, std::string(details), owner});
    }
    bool askYesNo(HWND, std::string_view text) override {
        questions.emplace_back(text);
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> questions;
    std::deque<bool> answers; // none left: No
    // Remembered as a message; answered from choiceAnswers, then with OK.
    bool showMessageWithChoice(HWND owner, std::string_view text, MessageIcon icon,
                               std::string_view details, std::string_view choice) override {
        showMessage(owner, text, icon, details);
        shown.back().choice = choice;
        const bool chosen = !choiceAnswers.empty() && choiceAnswers.front();
        if (!choiceAnswers.empty())
            choiceAnswers.pop_front();
        return chosen;
    }
    struct Shown {
        std::string text;
        MessageIcon icon;
        std::string details;
        HWND owner = nullptr;
        std::string choice = {};
    };
    std::vector<Shown> shown;
    std::deque<bool> choiceAnswers;
};

// The System Information program that is never there.
struct NoSysInfo final : about::SysInfoPlatform {
    struct EmptyRegistry final : about::Registry {
        long openKey(about::RegistryKey, std::string_view, std::uint32_t, std::uint32_t,
                     about::RegistryKey&) override {
            return about::kErrorFileNotFound;
        }
        long queryValue(about::RegistryKey, std::string_view, std::uint32_t&, unsigned char*,
                        std::uint32_t&) override {
            return about::kErrorFileNotFound;
        }
        long closeKey(about::RegistryKey) override { return 0; }
    } emptyRegistry;
    about::Registry& registry() override { return emptyRegistry; }
    std::optional<std::string> findOrdinaryFile(const std::string&) override {
        return std::nullopt;
    }
    bool startProgram(const std::string&) override { return false; }
    void showUnavailable() override { ++unavailable; }
    int unavailable = 0;
};

// The desktop program as faultward.exe puts it together, with every service
// recorded or scripted.
struct WinProgram {
    // settings: more stored values, "section/key" to value.
    explicit WinProgram(std::int16_t storedMode = 0,
                        const std::map<std::string, std::string>& settings = {});
    ~WinProgram();

    win::Form1& form1() { return window->form1(); }
    // Chooses a menu item as the menu bar would.
    void choose(int commandId);
    // Clicks a button of the project files window as the button would.
    void click(HWND button);
    // Handles what the windows have queued.
    static void pump();

    MemoryStore store;
    Module1 module{store, "C:\\app"};
    TempFolder stateFolder; // the user's own records
    ConsentRecords consent{stateFolder.path()};
    RecordingSound sound;
    RecordingHelp help;
    ScriptedDialog dialog;
    RecordingMessages messages;
    NoSysInfo sysInfo;
    int aboutOpened = 0, aboutClosed = 0;
    win::frmAbout about{sysInfo, [this] { ++aboutOpened; }, [this] { ++aboutClosed; }};
    int ended = 0, closed = 0;
    std::unique_ptr<win::MDIForm1> window;
};

// Scripts for the modal dialogs a step opens, each run once its dialog (of
// this title) shows, from a timer of the dialog's own message loop; queued in
// the order the dialogs open. Whatever a script leaves queued (posted keys)
// the dialog's loop handles after it.
void whenShown(std::string title, std::function<void(HWND dialog)> script);
// How many scripts have not run yet.
std::size_t scriptsWaiting();

std::wstring windowText(HWND window);
std::string narrow(const std::wstring& text);
// The items of the project files tree under parent (the entries for none):
// the items, their texts and their ticks.
std::vector<HTREEITEM> treeItems(HWND tree, HTREEITEM parent = nullptr);
std::vector<std::string> listTexts(HWND tree, HTREEITEM parent = nullptr);
std::vector<bool> listTicks(HWND tree, HTREEITEM parent = nullptr);

} // namespace faultward::wintest

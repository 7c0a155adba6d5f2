#pragma once

#include "app/desktop/help_opener.h"
#include "win/message_boxes.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace faultward::win {

// The program's help, a page beside the executable that the user's browser
// shows: F1 in any window of the program, Help > Index and the Help button
// open it. When the file is missing a message naming its path says so.
class HelpKey final : public HelpOpener {
public:
    // Shows the file; false when the system could not.
    using Opener = std::function<bool(HWND owner, const std::wstring& file)>;

    HelpKey(std::filesystem::path helpFile, MessageBoxes& messages, Opener open = openInBrowser);

    // Sends F1 as if typed: posted to the window with the keyboard focus,
    // from where the message loop hands it to handleKey.
    void sendHelpKey() override;
    // For the message loop: F1 pressed opens the help; true when msg was that.
    bool handleKey(const MSG& msg);
    void showHelp(HWND owner);
    // The page at one of its anchors, for the window that is active.
    void showHelpSection(std::string_view section) override;

    const std::filesystem::path& helpFile() const { return helpFile_; }

    // The shell's open verb, as a double click in Explorer would. A file URL
    // with an anchor goes to the browser that opens .html files, which keeps
    // the anchor the shell's file handler would drop.
    static bool openInBrowser(HWND owner, const std::wstring& file);

private:
    void show(HWND owner, const std::wstring& target);

    std::filesystem::path helpFile_;
    MessageBoxes& messages_;
    Opener open_;
};

} // namespace faultward::win

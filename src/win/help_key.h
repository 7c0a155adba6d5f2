#pragma once

#include "app/help_opener.h"
#include "win/message_boxes.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

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

    const std::filesystem::path& helpFile() const { return helpFile_; }

    // The shell's open verb, as a double click in Explorer would.
    static bool openInBrowser(HWND owner, const std::wstring& file);

private:
    std::filesystem::path helpFile_;
    MessageBoxes& messages_;
    Opener open_;
};

} // namespace faultward::win

#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace faultward::win {

class HelpKey;

// The program's message loop: F1 to the help, the keyboard interface of the
// dialog-like windows (Tab between controls), the MDI keys, then the window.
class MessageLoop {
public:
    explicit MessageLoop(HelpKey& help) : help_(help) {}

    // Windows whose controls Tab moves between; asked for when a message comes.
    void setDialogWindows(std::function<std::vector<HWND>()> windows) {
        dialogs_ = std::move(windows);
    }
    void setMdiClient(HWND client) { mdiClient_ = client; }

    // Runs until WM_QUIT; returns its exit code.
    int run();
    // Handles what is waiting now and returns; a WM_QUIT found is posted again.
    void handlePending();

private:
    void dispatch(MSG& msg);

    HelpKey& help_;
    std::function<std::vector<HWND>()> dialogs_;
    HWND mdiClient_ = nullptr;
};

} // namespace faultward::win

#include "win/message_loop.h"

#include "win/help_key.h"

namespace faultward::win {

int MessageLoop::run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        dispatch(msg);
    return static_cast<int>(msg.wParam);
}

void MessageLoop::handlePending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        dispatch(msg);
    }
}

void MessageLoop::dispatch(MSG& msg) {
    if (help_.handleKey(msg))
        return;
    // Alt with a letter belongs to the menu bar, unless the window is a
    // top-level one without menus, where it reaches a button's access key.
    const bool systemKey = msg.message >= WM_SYSKEYDOWN && msg.message <= WM_SYSDEADCHAR;
    if (dialogs_)
        for (HWND dialog : dialogs_())
            if (dialog && !(systemKey && GetMenu(GetAncestor(dialog, GA_ROOT))) &&
                IsDialogMessageW(dialog, &msg))
                return;
    if (mdiClient_ && TranslateMDISysAccel(mdiClient_, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

} // namespace faultward::win

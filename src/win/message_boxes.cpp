#include "win/message_boxes.h"
#include "app/texts.h"
#include "platform/win32_text.h"
#include "win/resource_ids.h"

namespace faultward::win {
namespace {

// Multi-line edit boxes break lines only at a carriage return and line feed.
std::wstring withWindowsLineBreaks(std::string_view text) {
    std::wstring lines;
    for (wchar_t c : win32::wideFromBytes(text)) {
        if (c == L'\n' && (lines.empty() || lines.back() != L'\r'))
            lines.push_back(L'\r');
        lines.push_back(c);
    }
    return lines;
}

struct DetailsMessage {
    std::wstring text;
    std::wstring details;
    MessageIcon icon;
};

INT_PTR CALLBACK detailsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const auto* shown = reinterpret_cast<const DetailsMessage*>(lParam);
        SetWindowTextW(dialog, win32::wideFromBytes(kProductName).c_str());
        SetDlgItemTextW(dialog, FW_IDC_DETAILS_TEXT, shown->text.c_str());
        SetDlgItemTextW(dialog, FW_IDC_DETAILS_BOX, shown->details.c_str());
        HWND icon = GetDlgItem(dialog, FW_IDC_DETAILS_ICON);
        if (shown->icon == MessageIcon::Warning)
            SendMessageW(icon, STM_SETICON,
                         reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
        else
            ShowWindow(icon, SW_HIDE);
        MessageBeep(shown->icon == MessageIcon::Warning ? MB_ICONWARNING : MB_OK);
        // OK has the focus, so Enter closes the box at once.
        SetFocus(GetDlgItem(dialog, IDOK));
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

class SystemMessageBoxes final : public MessageBoxes {
public:
    void showMessage(HWND owner, std::string_view text, MessageIcon icon,
                     std::string_view details) override {
        // A pass may have left the wait pointer; the box wants the arrow.
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        if (details.empty()) {
            // The system's box: Ctrl+C copies its text.
            const UINT style = MB_OK | (icon == MessageIcon::Warning ? MB_ICONWARNING : 0);
            MessageBoxW(owner, win32::wideFromBytes(text).c_str(),
                        win32::wideFromBytes(kProductName).c_str(), style);
            return;
        }
        DetailsMessage shown{withWindowsLineBreaks(text), withWindowsLineBreaks(details), icon};
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(FW_IDD_DETAILS), owner,
                        detailsProc, reinterpret_cast<LPARAM>(&shown));
    }
};

} // namespace

std::unique_ptr<MessageBoxes> makeSystemMessageBoxes() {
    return std::make_unique<SystemMessageBoxes>();
}

} // namespace faultward::win

#include "win/message_boxes.h"

#include "app/reports/message_details.h"
#include "app/texts/texts.h"
#include "platform/win32_text.h"
#include "win/resource_ids.h"
#include "win/text_view.h"

#include <algorithm>

namespace faultward::win {
namespace {

// A static text breaks lines only at a carriage return and line feed.
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
    std::string_view details; // UTF-8, without the break that ends the last line
    ReportLines lines;
    MessageIcon icon;
    std::wstring choice; // the caption of the choice's button; empty for none
};

int dialogUnits(HWND dialog, int units) {
    RECT rect{0, 0, units, units};
    MapDialogRect(dialog, &rect);
    return rect.bottom;
}

// The lines the details box shows before it scrolls.
constexpr int kDetailsLinesShown = 12;

// Sizes the text to what it says, the details box to its lines (with a
// scroll bar only where they do not fit), and the box to both, keeping its
// centre where the dialog manager put it.
void layOutDetails(HWND dialog, const DetailsMessage& shown) {
    HWND label = GetDlgItem(dialog, FW_IDC_DETAILS_TEXT);
    HWND icon = GetDlgItem(dialog, FW_IDC_DETAILS_ICON);
    HWND ok = GetDlgItem(dialog, IDOK);
    HWND measure = GetDlgItem(dialog, FW_IDC_DETAILS_BOX);
    const int margin = dialogUnits(dialog, 10);
    const int gap = dialogUnits(dialog, 6);
    const auto childRect = [dialog](HWND child) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    RECT text = childRect(label);
    RECT box = childRect(measure);
    const RECT button = childRect(ok);

    HDC dc = GetDC(dialog);
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    RECT measured{0, 0, text.right - text.left, 0};
    DrawTextW(dc, shown.text.c_str(), -1, &measured,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, oldFont);
    ReleaseDC(dialog, dc);
    // The template's box measures the details in the font it shows them in.
    showTextInView(measure, shown.details, shown.lines, CP_UTF8);
    const int lines = static_cast<int>(shown.lines.size());
    const SIZE all = textViewCellsSize(measure, textViewWidestCells(measure), lines);

    text.bottom = text.top + measured.bottom;
    int contentBottom = text.bottom;
    if (shown.icon == MessageIcon::Warning)
        contentBottom = std::max(contentBottom, static_cast<int>(childRect(icon).bottom));

    const int frame = 2 * GetSystemMetrics(SM_CXEDGE);
    const bool vertical = lines > kDetailsLinesShown;
    int textWidth = box.right - box.left - frame;
    if (vertical)
        textWidth -= GetSystemMetrics(SM_CXVSCROLL);
    const bool horizontal = all.cx > textWidth;
    const int shownLines = std::clamp(lines, 1, kDetailsLinesShown);
    box.top = contentBottom + gap;
    box.bottom = box.top + textViewCellsSize(measure, 0, shownLines).cy + frame +
                 (horizontal ? GetSystemMetrics(SM_CYHSCROLL) : 0);

    // The box is made here, its scroll bars known before its text goes in.
    DestroyWindow(measure);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    if (vertical)
        style |= WS_VSCROLL;
    if (horizontal)
        style |= WS_HSCROLL;
    HWND details =
        CreateWindowExW(WS_EX_CLIENTEDGE, kTextViewClass, L"", style, box.left, box.top,
                        box.right - box.left, box.bottom - box.top, dialog,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(FW_IDC_DETAILS_BOX)),
                        GetModuleHandleW(nullptr), nullptr);
    showTextInView(details, shown.details, shown.lines, CP_UTF8);
    SetWindowPos(details, label, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    MoveWindow(label, text.left, text.top, text.right - text.left, text.bottom - text.top, FALSE);
    const int buttonTop = box.bottom + gap;
    MoveWindow(ok, button.left, buttonTop, button.right - button.left, button.bottom - button.top,
               FALSE);
    HWND choice = GetDlgItem(dialog, FW_IDC_DETAILS_CHOICE);
    const RECT chosen = childRect(choice);
    MoveWindow(choice, chosen.left, buttonTop, chosen.right - chosen.left,
               chosen.bottom - chosen.top, FALSE);

    RECT outer;
    RECT client;
    GetWindowRect(dialog, &outer);
    GetClientRect(dialog, &client);
    const int height = (outer.bottom - outer.top) - client.bottom +
                       (buttonTop + button.bottom - button.top + margin);
    const int top = (outer.top + outer.bottom) / 2 - height / 2;
    SetWindowPos(dialog, nullptr, outer.left, top, outer.right - outer.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK detailsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const auto* shown = reinterpret_cast<const DetailsMessage*>(lParam);
        SetWindowTextW(dialog, win32::wideFromBytes(kProductName).c_str());
        SetDlgItemTextW(dialog, FW_IDC_DETAILS_TEXT, shown->text.c_str());
        HWND icon = GetDlgItem(dialog, FW_IDC_DETAILS_ICON);
        if (shown->icon == MessageIcon::Warning)
            SendMessageW(icon, STM_SETICON,
                         reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
        else
            ShowWindow(icon, SW_HIDE);
        if (!shown->choice.empty()) {
            SetDlgItemTextW(dialog, FW_IDC_DETAILS_CHOICE, shown->choice.c_str());
            ShowWindow(GetDlgItem(dialog, FW_IDC_DETAILS_CHOICE), SW_SHOWNA);
        }
        layOutDetails(dialog, *shown);
        MessageBeep(shown->icon == MessageIcon::Warning ? MB_ICONWARNING : MB_OK);
        // OK has the focus, so Enter closes the box at once.
        SetFocus(GetDlgItem(dialog, IDOK));
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL ||
            LOWORD(wParam) == FW_IDC_DETAILS_CHOICE) {
            EndDialog(dialog,
                      LOWORD(wParam) == FW_IDC_DETAILS_CHOICE ? FW_IDC_DETAILS_CHOICE : IDOK);
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
        show(owner, text, icon, details, {});
    }
    bool showMessageWithChoice(HWND owner, std::string_view text, MessageIcon icon,
                               std::string_view details, std::string_view choice) override {
        return show(owner, text, icon, details, choice);
    }

private:
    static bool show(HWND owner, std::string_view text, MessageIcon icon, std::string_view details,
                     std::string_view choice) {
        // A pass may have left the wait pointer; the box wants the arrow.
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        // The system's box offers no button of the program's own.
        if (details.empty() && choice.empty()) {
            // The system's box: Ctrl+C copies its text.
            const UINT style = MB_OK | (icon == MessageIcon::Warning ? MB_ICONWARNING : 0);
            MessageBoxW(owner, win32::wideFromBytes(text).c_str(),
                        win32::wideFromBytes(kProductName).c_str(), style);
            return false;
        }
        // The details always show here, and they name every file the text
        // names in short: the box shows the text's lead above them.
        if (details.ends_with('\n'))
            details.remove_suffix(1);
        DetailsMessage shown{withWindowsLineBreaks(leadParagraph(text)), details,
                             ReportLines::ofPlainText(details), icon, win32::wideFromBytes(choice)};
        registerTextViewClass();
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(FW_IDD_DETAILS), owner,
                               detailsProc,
                               reinterpret_cast<LPARAM>(&shown)) == FW_IDC_DETAILS_CHOICE;
    }

    bool askYesNo(HWND owner, std::string_view text) override {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return MessageBoxW(owner, win32::wideFromBytes(text).c_str(),
                           win32::wideFromBytes(kProductName).c_str(),
                           MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
    }
};

} // namespace

std::unique_ptr<MessageBoxes> makeSystemMessageBoxes() {
    return std::make_unique<SystemMessageBoxes>();
}

} // namespace faultward::win

#include "win/report_window.h"

#include "app/report_window.h"
#include "platform/win32_text.h"
#include "win/dpi.h"
#include "win/report_text.h"
#include "win/resource_ids.h"

#include <array>

namespace faultward::win {
namespace {

struct ButtonId {
    ReportButton button;
    int id;
};
constexpr std::array<ButtonId, 3> kButtonIds{{
    {ReportButton::Insert, FW_IDC_REPORT_INSERT},
    {ReportButton::SaveAs, FW_IDC_REPORT_SAVE_AS},
    {ReportButton::Close, IDCANCEL},
}};

// Margins, button size and gaps in dialog units, as the script has them.
constexpr int kMargin = 7;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 5;
constexpr int kPointSize = 9;

struct Session {
    ReportWindow& report;
    HWND& shownAt;
    HFONT font = nullptr;
};

bool offered(const ReportWindow& report, ReportButton button) {
    for (ReportButton b : report.buttons())
        if (b == button)
            return true;
    return false;
}

// Consolas where it is installed; a face the font mapper finds instead only
// when it is fixed-width too, else the system's fixed font.
HFONT createFixedFont(int dpi) {
    HFONT font = CreateFontW(-MulDiv(kPointSize, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, L"Consolas");
    if (!font)
        return nullptr;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // The bit is set for a variable pitch.
    if (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) {
        DeleteObject(font);
        return nullptr;
    }
    return font;
}

void layOut(HWND window) {
    RECT units{kMargin, kButtonHeight, kButtonWidth, kButtonGap};
    MapDialogRect(window, &units);
    const int margin = units.left, height = units.top, width = units.right, gap = units.bottom;
    RECT client;
    GetClientRect(window, &client);
    const int buttonTop = client.bottom - margin - height;
    int right = client.right - margin;
    for (auto it = kButtonIds.rbegin(); it != kButtonIds.rend(); ++it) {
        HWND button = GetDlgItem(window, it->id);
        // Its own flag: the window itself is not shown yet the first time.
        if (!(GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE))
            continue;
        MoveWindow(button, right - width, buttonTop, width, height, TRUE);
        right -= width + gap;
    }
    MoveWindow(GetDlgItem(window, FW_IDC_REPORT_TEXT), margin, margin, client.right - 2 * margin,
               buttonTop - gap - margin, TRUE);
}

void showButtons(HWND window, const ReportWindow& report) {
    for (const ButtonId& entry : kButtonIds) {
        HWND button = GetDlgItem(window, entry.id);
        if (offered(report, entry.button))
            SetWindowTextW(button,
                           win32::wideFromBytes(ReportWindow::caption(entry.button)).c_str());
        else
            ShowWindow(button, SW_HIDE);
    }
}

// The dialog's own font follows a new DPI by itself; the text's is ours.
void setTextFont(HWND window, Session& session, int dpi) {
    HFONT old = session.font;
    session.font = createFixedFont(dpi);
    SendMessageW(
        GetDlgItem(window, FW_IDC_REPORT_TEXT), WM_SETFONT,
        reinterpret_cast<WPARAM>(session.font ? session.font : GetStockObject(ANSI_FIXED_FONT)),
        TRUE);
    if (old)
        DeleteObject(old);
}

void showText(HWND window, Session& session) {
    HWND text = GetDlgItem(window, FW_IDC_REPORT_TEXT);
    setTextFont(window, session, windowDpi(window));
    // The control's own limit is far below a large project's differences.
    SendMessageW(text, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextW(text, reportEditText(session.report.text()).c_str());
}

void start(HWND window, Session& session) {
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(&session));
    session.shownAt = window;
    SetWindowTextW(window, win32::wideFromBytes(session.report.title()).c_str());
    showButtons(window, session.report);
    showText(window, session);
    layOut(window);
    // The text has the focus to scroll by keyboard, unselected.
    HWND text = GetDlgItem(window, FW_IDC_REPORT_TEXT);
    SetFocus(text);
    SendMessageW(text, EM_SETSEL, 0, 0);
}

bool press(HWND window, Session& session, int id) {
    for (const ButtonId& entry : kButtonIds) {
        if (entry.id != id || !offered(session.report, entry.button))
            continue;
        if (session.report.press(entry.button))
            EndDialog(window, id);
        return true;
    }
    return false;
}

INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        start(window, *reinterpret_cast<Session*>(lParam));
        return FALSE;
    }
    auto* session = reinterpret_cast<Session*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!session)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        return press(window, *session, LOWORD(wParam));
    case WM_SIZE:
        layOut(window);
        return TRUE;
    case WM_DPICHANGED:
        setTextFont(window, *session, HIWORD(wParam));
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void runReportWindow(HWND owner, ReportWindow& report, HWND& shownAt) {
    const HWND before = shownAt;
    Session session{report, shownAt};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(FW_IDD_REPORT), owner, procedure,
                    reinterpret_cast<LPARAM>(&session));
    if (session.font)
        DeleteObject(session.font);
    shownAt = before;
}

} // namespace faultward::win

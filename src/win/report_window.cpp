#include "win/report_window.h"

#include "app/desktop/report_window.h"
#include "platform/win32_text.h"
#include "win/resource_ids.h"
#include "win/text_view.h"

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

struct Session {
    ReportWindow& report;
    HWND& shownAt;
};

bool offered(const ReportWindow& report, ReportButton button) {
    for (ReportButton b : report.buttons())
        if (b == button)
            return true;
    return false;
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
    // Moving a button repaints it where it lands, but not always the place
    // it left (wine, after maximizing): the whole window is drawn again.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
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

// The report's bytes stay the core's; the view finds their lines' places
// from the core's lines.
void showText(HWND window, const ReportWindow& report) {
    showTextInView(GetDlgItem(window, FW_IDC_REPORT_TEXT), report.text(), report.lines(), CP_ACP);
}

void start(HWND window, Session& session) {
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(&session));
    session.shownAt = window;
    SetWindowTextW(window, win32::wideFromBytes(session.report.title()).c_str());
    showButtons(window, session.report);
    showText(window, session.report);
    layOut(window);
    // The text has the focus to scroll by keyboard, unselected.
    SetFocus(GetDlgItem(window, FW_IDC_REPORT_TEXT));
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
    default:
        return FALSE;
    }
}

} // namespace

void runReportWindow(HWND owner, ReportWindow& report, HWND& shownAt) {
    const HWND before = shownAt;
    Session session{report, shownAt};
    registerTextViewClass();
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(FW_IDD_REPORT), owner, procedure,
                    reinterpret_cast<LPARAM>(&session));
    shownAt = before;
}

} // namespace faultward::win

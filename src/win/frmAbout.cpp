#include "win/frmAbout.h"

#include "app/desktop/about_buttons.h"
#include "app/desktop/layout.h"
#include "app/desktop/window_placement.h"
#include "app/texts/texts.h"
#include "platform/win32_text.h"
#include "win/control_ids.h"
#include "win/etched_rule.h"
#include "win/window_object.h"

#include <string>
#include <vector>

namespace faultward::win {
namespace {

// A fixed dialog frame without minimize or maximize box; a tool window
// stays out of the task bar.
constexpr DWORD kAboutStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kAboutExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

// Nothing is shown between the version and the rule, so the rule, the panel
// below it and the window's bottom move up by that band, less a margin.
constexpr int kVersionBottom = kAboutVersion.top + kAboutVersion.height;
constexpr int kRuleMargin = 240;
constexpr int kClosedBand = kAboutRuleGrey.top - kVersionBottom - kRuleMargin;

TwipsRect raised(TwipsRect place) {
    place.top -= kClosedBand;
    return place;
}

RECT panelRect(const TwipsRect& place, int dpi) {
    return pxRect(place, dpi, kAboutPanel.left, kAboutPanel.top - kClosedBand);
}

ScreenRect screenRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace

std::optional<ModuleVersion> moduleVersion(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::nullopt;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixedSize < sizeof *fixed)
        return std::nullopt;
    return ModuleVersion{static_cast<int>(HIWORD(fixed->dwFileVersionMS)),
                         static_cast<int>(LOWORD(fixed->dwFileVersionMS)),
                         static_cast<int>(HIWORD(fixed->dwFileVersionLS)),
                         static_cast<int>(LOWORD(fixed->dwFileVersionLS))};
}

frmAbout::frmAbout(about::SysInfoPlatform& platform, std::function<void()> opened,
                   std::function<void()> closed)
    : platform_(platform), opened_(std::move(opened)), closed_(std::move(closed)) {}

frmAbout::~frmAbout() {
    if (hwnd_) {
        attachWindowObject<frmAbout>(hwnd_, nullptr);
        DestroyWindow(hwnd_);
    }
}

HWND frmAbout::show(HWND over) {
    if (!hwnd_) {
        create();
        RECT outer;
        GetWindowRect(hwnd_, &outer);
        RECT anchor{};
        if (!over || !GetWindowRect(over, &anchor))
            anchor = outer;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromRect(&anchor, MONITOR_DEFAULTTONEAREST), &monitor);
        const ScreenPoint corner = centredOver(outer.right - outer.left, outer.bottom - outer.top,
                                               screenRect(anchor), screenRect(monitor.rcWork));
        SetWindowPos(hwnd_, nullptr, corner.x, corner.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    return hwnd_;
}

void frmAbout::create() {
    registerWindowClass(kClassName, procedure, GetSysColorBrush(COLOR_BTNFACE));
    dpi_ = windowDpi(nullptr);
    const RECT outer =
        outerRectForClient(px(kAboutClientWidth, dpi_), px(kAboutClientHeight - kClosedBand, dpi_),
                           kAboutStyle, kAboutExStyle, false, dpi_);
    CreateWindowExW(kAboutExStyle, kClassName, L"", kAboutStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                    GetModuleHandleW(nullptr), this);
    const auto make = [this](const wchar_t* windowClass, const std::wstring& text, DWORD style,
                             int id) {
        return CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
                               0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    };
    HWND icon = make(L"STATIC", L"", SS_ICON | SS_REALSIZEIMAGE, kAboutIconId);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(programIcon(32)), 0);
    make(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kAboutTitleId);
    make(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kAboutVersionId);
    int line = 0;
    for (const MakerLine& maker : kMakerLines)
        make(L"STATIC", win32::wideFromBytes(maker.text), SS_LEFT | SS_NOPREFIX,
             kMakerLineBase + line++);
    // System Info first in the tab order.
    make(L"BUTTON", win32::wideFromBytes(kAboutSysInfoButton.caption), WS_TABSTOP | BS_PUSHBUTTON,
         kAboutButtonBase + kAboutSysInfoButton.index);
    make(L"BUTTON", win32::wideFromBytes(kAboutCloseButton.caption), WS_TABSTOP | BS_PUSHBUTTON,
         kAboutButtonBase + kAboutCloseButton.index);
    layout();
    Form_Load();
    if (opened_)
        opened_();
}

void frmAbout::Form_Load() {
    SetWindowTextW(hwnd_, win32::wideFromBytes(aboutCaption()).c_str());
    // The version the executable's resource carries, as the file's properties show it.
    std::string version;
    if (const auto found = moduleVersion(GetModuleHandleW(nullptr)))
        version = versionText(found->major, found->minor, found->revision);
    SetDlgItemTextW(hwnd_, kAboutVersionId, win32::wideFromBytes(version).c_str());
    SetDlgItemTextW(hwnd_, kAboutTitleId, win32::wideFromBytes(kProductName).c_str());
    SetFocus(control(kAboutButtonBase + kAboutSysInfoButton.index));
}

void frmAbout::layout() {
    font_.reset(createFont(kAboutPanelFont, dpi_));
    boldFont_.reset(createFont({kAboutPanelFont.face, kAboutPanelFont.points, true}, dpi_));
    titleFont_.reset(createFont(kAboutTitleFont, dpi_));
    placeControl(control(kAboutIconId), pxRect(kAboutIcon, dpi_));
    placeControl(control(kAboutTitleId), pxRect(kAboutTitle, dpi_));
    setFont(control(kAboutTitleId), titleFont_.get());
    placeControl(control(kAboutVersionId), pxRect(kAboutVersion, dpi_));
    setFont(control(kAboutVersionId), font_.get());
    int line = 0;
    for (const MakerLine& maker : kMakerLines) {
        HWND label = control(kMakerLineBase + line++);
        placeControl(label, panelRect(maker.place, dpi_));
        setFont(label, maker.bold ? boldFont_.get() : font_.get());
    }
    for (const AboutButton& button : {kAboutSysInfoButton, kAboutCloseButton}) {
        HWND shown = control(kAboutButtonBase + button.index);
        placeControl(shown, panelRect(button.place, dpi_));
        setFont(shown, font_.get());
    }
}

void frmAbout::paintRule(HDC dc) const {
    HBRUSH greyBrush = CreateSolidBrush(RGB(128, 128, 128));
    paintEtchedRule(
        dc, {pxRect(raised(kAboutRuleGrey), dpi_), greyBrush},
        {pxRect(raised(kAboutRuleWhite), dpi_), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))});
    DeleteObject(greyBrush);
}

void frmAbout::cmd_abt_Click(int index) {
    about::cmd_abt_Click(index, platform_, [this] { SendMessageW(hwnd_, WM_CLOSE, 0, 0); });
}

LRESULT CALLBACK frmAbout::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* self = keepWindowObject(window, message, lParam, &frmAbout::hwnd_))
        return self->handle(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT frmAbout::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= kAboutButtonBase &&
            LOWORD(wParam) < kAboutButtonBase + kGroupSize) {
            cmd_abt_Click(LOWORD(wParam) - kAboutButtonBase);
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd_, &paint);
        paintRule(dc);
        EndPaint(hwnd_, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kAboutTitleId)
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layout();
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        attachWindowObject<frmAbout>(hwnd_, nullptr);
        hwnd_ = nullptr;
        if (closed_)
            closed_();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace faultward::win

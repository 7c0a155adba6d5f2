#include "win/mdi_form1.h"

#include "app/desktop/desktop_core.h"
#include "app/desktop/layout.h"
#include "app/desktop/main_window_logic.h"
#include "app/desktop/project_files_logic.h"
#include "app/desktop/window_layout.h"
#include "platform/win32_text.h"
#include "win/control_ids.h"
#include "win/dpi.h"
#include "win/file_dialog.h"
#include "win/form1.h"
#include "win/frmAbout.h"
#include "win/handler_settings_window.h"
#include "win/main_menu.h"
#include "win/message_boxes.h"
#include "win/pointer.h"
#include "win/report_window.h"
#include "win/window_object.h"

#include <algorithm>
#include <vector>

namespace faultward::win {
namespace {

constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

int systemDpi() {
    return windowDpi(nullptr);
}

ScreenRect screenRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The parts of the monitors that panels leave free, the primary first.
BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
    auto& screens = *reinterpret_cast<std::vector<ScreenRect>*>(param);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const ScreenRect area = screenRect(info.rcWork);
        if (info.dwFlags & MONITORINFOF_PRIMARY)
            screens.insert(screens.begin(), area);
        else
            screens.push_back(area);
    }
    return TRUE;
}

} // namespace

MDIForm1::MDIForm1(Module1& module, WindowServices services) : services_(std::move(services)) {
    registerWindowClass(kClassName, procedure, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1),
                        programIcon(GetSystemMetrics(SM_CXICON)));
    menu_ = createMainMenu();
    dpi_ = systemDpi();
    const SIZE outer = designedOuterSize();
    CreateWindowExW(0, kClassName, L"", kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.cx,
                    outer.cy, nullptr, menu_, GetModuleHandleW(nullptr), this);
    // The monitor the window landed on may have a DPI of its own.
    const int dpi = windowDpi(hwnd_);
    if (dpi != dpi_) {
        dpi_ = dpi;
        const SIZE resized = designedOuterSize();
        SetWindowPos(hwnd_, nullptr, 0, 0, resized.cx, resized.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    createClient();
    GetWindowRect(hwnd_, &normal_);

    form1_ = std::make_unique<Form1>(*this);
    core_ = std::make_unique<DesktopCore>(module, *this, *form1_, services_.sound, services_.help,
                                          services_.consent);
    // Loaded: the caption is set; now the project files window.
    form1_->show();
}

MDIForm1::~MDIForm1() {
    if (hwnd_) {
        // Gone without a close: nothing is saved, as after Exit.
        attachWindowObject<MDIForm1>(hwnd_, nullptr);
        DestroyWindow(hwnd_);
    }
}

MainWindowLogic& MDIForm1::logic() {
    return core_->logic();
}

ProjectFilesLogic& MDIForm1::projectFiles() {
    return core_->projectFiles();
}

void MDIForm1::createClient() {
    CLIENTCREATESTRUCT client{};
    client.idFirstChild = kFirstMdiChildId;
    RECT area;
    GetClientRect(hwnd_, &area);
    // MDIS_ALLCHILDSTYLES lets the project files window go without a caption.
    client_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES, 0, 0,
        area.right, area.bottom, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMdiClientId)),
        GetModuleHandleW(nullptr), &client);
}

SIZE MDIForm1::designedOuterSize() const {
    return {px(kMainOuterWidth, dpi_), px(kMainOuterHeight, dpi_)};
}

LRESULT CALLBACK MDIForm1::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* self = keepWindowObject(window, message, lParam, &MDIForm1::hwnd_))
        return self->handle(message, wParam, lParam);
    return DefFrameProcW(window, nullptr, message, wParam, lParam);
}

LRESULT MDIForm1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Menu items (0) and accelerators (1); controls notify their own parent.
        if (HIWORD(wParam) <= 1 && lParam == 0 && command(LOWORD(wParam)))
            return 0;
        break;
    case WM_GETMINMAXINFO: {
        const SIZE outer = designedOuterSize();
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {outer.cx, outer.cy};
        return 0;
    }
    case WM_WINDOWPOSCHANGED:
        if (!IsZoomed(hwnd_) && !IsIconic(hwnd_))
            GetWindowRect(hwnd_, &normal_);
        break;
    case WM_SIZE: {
        // The frame sizes the client area first.
        const LRESULT result = DefFrameProcW(hwnd_, client_, message, wParam, lParam);
        if (wParam != SIZE_MINIMIZED)
            fitProjectFilesWindow();
        return result;
    }
    case WM_ACTIVATE:
        // Leaving for another program: the focus comes back to where it was.
        if (LOWORD(wParam) == WA_INACTIVE && form1_)
            form1_->rememberFocus();
        break;
    case WM_SETFOCUS:
        if (form1_ && form1_->hwnd()) {
            SetFocus(form1_->hwnd());
            return 0;
        }
        break;
    case WM_DPICHANGED:
        dpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETCURSOR:
        if (setBusyPointerIfSet())
            return TRUE;
        break;
    case WM_CLOSE:
        // Closing keeps the settings; the child closes with the frame.
        logic().MDIForm_Unload();
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY: {
        attachWindowObject<MDIForm1>(hwnd_, nullptr);
        const LRESULT result = DefFrameProcW(hwnd_, client_, message, wParam, lParam);
        hwnd_ = nullptr;
        if (services_.closed)
            services_.closed();
        return result;
    }
    default:
        break;
    }
    return DefFrameProcW(hwnd_, client_, message, wParam, lParam);
}

bool MDIForm1::command(int id) {
    const MenuChoice choice = menuChoice(id);
    switch (choice.group) {
    case MenuGroup::File:
        logic().mnu_f_Click(choice.index);
        return true;
    case MenuGroup::Options:
        logic().mnu_o_Click(choice.index);
        return true;
    case MenuGroup::Help:
        logic().mnu_h_Click(choice.index);
        return true;
    case MenuGroup::None:
        return false;
    }
    return false;
}

void MDIForm1::fitProjectFilesWindow() {
    if (!form1_)
        return;
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    const SIZE first = designedOuterSize();
    form1_->fitTo(
        growthBeyond(outer.right - outer.left, outer.bottom - outer.top, first.cx, first.cy));
}

// The system suggests the window scaled to the new DPI, growth and all.
void MDIForm1::dpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    if (form1_)
        form1_->applyDpi(dpi);
    const SIZE least = designedOuterSize();
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
                 std::max<int>(suggested.right - suggested.left, least.cx),
                 std::max<int>(suggested.bottom - suggested.top, least.cy),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    fitProjectFilesWindow();
}

void MDIForm1::restorePlacement(const WindowPlacement& stored) {
    std::vector<ScreenRect> screens;
    EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&screens));
    const SIZE least = designedOuterSize();
    const ScreenRect place = broughtOnScreen(stored.normal, least.cx, least.cy, screens);
    SetWindowPos(hwnd_, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    maximizedAtStart_ = stored.maximized;
}

std::optional<WindowPlacement> MDIForm1::placement() const {
    WINDOWPLACEMENT shown{};
    shown.length = sizeof shown;
    GetWindowPlacement(hwnd_, &shown);
    const bool maximized =
        IsZoomed(hwnd_) || (IsIconic(hwnd_) && (shown.flags & WPF_RESTORETOMAXIMIZED));
    return WindowPlacement{screenRect(normal_), maximized};
}

int MDIForm1::firstShowCommand(int asked) const {
    const bool plain = asked == SW_SHOWNORMAL || asked == SW_SHOWDEFAULT || asked == SW_SHOW;
    return maximizedAtStart_ && plain ? SW_SHOWMAXIMIZED : asked;
}

void MDIForm1::paintNow() {
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    paintPace_.painted();
}

void MDIForm1::paintWhileBusy() {
    if (paintPace_.due())
        paintNow();
}

void MDIForm1::setCaption(std::string_view text) {
    // The frame paints its caption as the text is set: it shows at once.
    SetWindowTextW(hwnd_, win32::wideFromBytes(text).c_str());
    paintPace_.painted();
}

void MDIForm1::setModeChecked(HandlingMode mode, bool checked) {
    CheckMenuItem(menu_, static_cast<UINT>(kOptionItemBase + storedValue(mode)),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MDIForm1::showBusyPointer() {
    win::showBusyPointer();
}

void MDIForm1::showDefaultPointer() {
    win::showDefaultPointer();
}

void MDIForm1::showMessage(std::string_view text, MessageIcon icon, std::string_view details) {
    services_.messageBoxes.showMessage(owner(), text, icon, details);
}

bool MDIForm1::askYesNo(std::string_view text) {
    return services_.messageBoxes.askYesNo(owner(), text);
}

bool MDIForm1::showMessageWithChoice(std::string_view text, MessageIcon icon,
                                     std::string_view details, std::string_view choice) {
    return services_.messageBoxes.showMessageWithChoice(owner(), text, icon, details, choice);
}

std::optional<std::string> MDIForm1::askOpenFile(const OpenFileRequest& request) {
    return services_.fileDialog.askOpenFile(owner(), request);
}

std::optional<std::string> MDIForm1::askOpenFolder(const std::string& preset) {
    return services_.fileDialog.askFolder(owner(), preset);
}

std::optional<std::string> MDIForm1::askSaveFile(const SaveFileRequest& request) {
    return services_.fileDialog.askSaveFile(owner(), request);
}

void MDIForm1::showHandlerSettings(HandlerSettingsDialog& dialog) {
    runHandlerSettingsWindow(owner(), dialog, services_.messageBoxes, modal_);
}

void MDIForm1::showReport(ReportWindow& window) {
    runReportWindow(owner(), window, modal_);
}

void MDIForm1::showAbout() {
    services_.about.show(hwnd_);
}

void MDIForm1::endProgramNow() {
    services_.endProgram();
}

} // namespace faultward::win

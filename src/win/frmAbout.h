#pragma once

#include "app/desktop/sys_info_launcher.h"
#include "win/dpi.h"

#include <windows.h>

#include <array>
#include <functional>
#include <optional>

namespace faultward::win {

// The four numbers of a module's VERSIONINFO resource.
struct ModuleVersion {
    int major, minor, build, revision;
};
std::optional<ModuleVersion> moduleVersion(HMODULE module);

// The About window: the program's icon, name and version, the maker text,
// and the Close and System Info buttons. One window at a time, modeless,
// owned by no other window, so it stays open after the main window closes.
class frmAbout {
public:
    static constexpr const wchar_t* kClassName = L"frmAbout";

    // opened and closed tell the program that a top-level window came and went.
    frmAbout(about::SysInfoPlatform& platform, std::function<void()> opened = {},
             std::function<void()> closed = {});
    ~frmAbout();
    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

    // Loads the window when it is not open, centred over `over`, and brings
    // it to the front.
    HWND show(HWND over);
    HWND hwnd() const { return hwnd_; }

    // 1 closes the window, 2 starts the System Information program.
    void cmd_abt_Click(int index);
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void create();
    void Form_Load();
    void layout();
    void paintRule(HDC dc) const;

    about::SysInfoPlatform& platform_;
    std::function<void()> opened_;
    std::function<void()> closed_;
    HWND hwnd_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    OwnedFont font_;
    OwnedFont boldFont_;
    OwnedFont titleFont_;
};

} // namespace faultward::win

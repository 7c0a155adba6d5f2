#pragma once

#include "app/desktop/paint_pace.h"
#include "app/desktop/views.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace faultward {
class ConsentRecords;
class DesktopCore;
class HelpOpener;
class MainWindowLogic;
class Module1;
class ProjectFilesLogic;
class SoundPlayer;
} // namespace faultward

namespace faultward::win {

class frmAbout;
class FileDialog;
class Form1;
class MessageBoxes;

// What the main window reaches outside itself. The program passes the real
// ones; tests pass their own, so that nothing waits for a person.
struct WindowServices {
    SoundPlayer& sound;
    HelpOpener& help;
    frmAbout& about;
    FileDialog& fileDialog;
    MessageBoxes& messageBoxes;
    // The user's answers that let commands write outside a project's folder.
    ConsentRecords& consent;
    // Ends the process at once, skipping the close handler and so the saving
    // of the settings.
    std::function<void()> endProgram;
    // The window has been destroyed.
    std::function<void()> closed;
};

// The main window: a multiple-document frame holding the project files
// window, with the File, Options and Help menus. It opens at the form's outer
// size, which is also its least, and grows as the core's layout says. What
// its commands do lives in the core; this window shows it and hands the
// user's choices over.
class MDIForm1 final : public MainWindowView {
public:
    static constexpr const wchar_t* kClassName = L"MDIForm1";

    // Creates the window, hidden; the caller shows it once the settings are in.
    MDIForm1(Module1& module, WindowServices services);
    ~MDIForm1() override;
    MDIForm1(const MDIForm1&) = delete;
    MDIForm1& operator=(const MDIForm1&) = delete;

    HWND hwnd() const { return hwnd_; }
    HWND mdiClient() const { return client_; }
    HMENU menu() const { return menu_; }
    int dpi() const { return dpi_; }
    Form1& form1() { return *form1_; }
    MainWindowLogic& logic();
    ProjectFilesLogic& projectFiles();

    // The outer size the window opens at and keeps at least, at its DPI.
    SIZE designedOuterSize() const;
    // How the window first shows: maximized when it was left so, unless the
    // program was started asking for another state.
    int firstShowCommand(int asked) const;

    // While a pass runs the message loop waits: a caption paints at once, the
    // list and the bar at the pace of PaintPace.
    void paintNow();
    void paintWhileBusy();

    void setCaption(std::string_view text) override;
    void setModeChecked(HandlingMode mode, bool checked) override;
    void showBusyPointer() override;
    void showDefaultPointer() override;
    void showMessage(std::string_view text, MessageIcon icon, std::string_view details) override;
    bool askYesNo(std::string_view text) override;
    bool showMessageWithChoice(std::string_view text, MessageIcon icon, std::string_view details,
                               std::string_view choice) override;
    std::optional<std::string> askOpenFile(const OpenFileRequest& request) override;
    std::optional<std::string> askOpenFolder(const std::string& preset) override;
    std::optional<std::string> askSaveFile(const SaveFileRequest& request) override;
    void showHandlerSettings(HandlerSettingsDialog& dialog) override;
    void showReport(ReportWindow& window) override;
    void showAbout() override;
    void endProgramNow() override;
    void restorePlacement(const WindowPlacement& stored) override;
    std::optional<WindowPlacement> placement() const override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool command(int id);
    void createClient();
    // The project files window follows the frame's growth.
    void fitProjectFilesWindow();
    void dpiChanged(int dpi, const RECT& suggested);
    // The window the boxes and dialogs the core asks for belong to: the
    // open modal dialog, else the main window.
    HWND owner() const { return modal_ ? modal_ : hwnd_; }

    WindowServices services_;
    HWND hwnd_ = nullptr;
    HWND client_ = nullptr;
    HMENU menu_ = nullptr;
    HWND modal_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<DesktopCore> core_;
    PaintPace paintPace_;
    RECT normal_{}; // the outer rectangle when last neither maximized nor minimized
    bool maximizedAtStart_ = false;
};

} // namespace faultward::win

#pragma once

#include "app/desktop/command.h"
#include "app/desktop/paint_pace.h"
#include "app/desktop/views.h"
#include "ui/file_dialog.h"
#include "ui/message_boxes.h"

#include <QMainWindow>

#include <array>
#include <chrono>
#include <functional>
#include <memory>

class QAction;
class QMdiArea;

namespace faultward {

class AboutBox;
class ConsentRecords;
class Form1;
class DesktopCore;
class HelpOpener;
class MainWindowLogic;
class Module1;
class ProjectFilesLogic;
class SoundPlayer;

QIcon applicationIcon();

// What the main window reaches outside itself. The program passes the real
// ones; tests pass their own, so that nothing waits for a person.
struct DesktopServices {
    SoundPlayer& sound;
    HelpOpener& help;
    AboutBox& about;
    FileDialog& fileDialog;
    MessageBoxes& messageBoxes;
    // The user's answers that let commands write outside a project's folder.
    ConsentRecords& consent;
    // Ends the process at once, skipping the close handler and so the saving
    // of the settings.
    std::function<void()> endProgram;
};

// The main window: a multiple-document frame holding the project files window,
// and the File, Options and Help menus. It opens at the form's first size,
// which is also its least, and grows as the core's layout says. What its
// commands do lives in the core; this window shows it and hands the user's
// choices over.
class MDIForm1 : public QMainWindow, public MainWindowView {
    Q_OBJECT
public:
    MDIForm1(Module1& module, DesktopServices services, QWidget* parent = nullptr);
    ~MDIForm1() override;

    // The menus' handlers, as the menu items call them.
    void cmd_nav(Command Index);
    void mnu_f_Click(int Index);
    void mnu_o_Click(int Index);
    void mnu_h_Click(int Index);

    Form1& form1() { return *form1_; }
    MainWindowLogic& logic();
    ProjectFilesLogic& projectFiles();
    MessageBoxes& messageBoxes() { return services_.messageBoxes; }

    // While a pass runs: a caption paints at once, the list and the bar at
    // the pace of PaintPace.
    static constexpr std::chrono::milliseconds kPaintInterval = PaintPace::kInterval;
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

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    // The project files window follows the client area's growth.
    void fitProjectFilesWindow();

    DesktopServices services_;
    QMdiArea* mdiArea_ = nullptr;
    Form1* form1_ = nullptr;
    QWidget* form1Frame_ = nullptr; // the MDI child frame around form1_
    std::array<QAction*, 3> modeItems_{};
    std::unique_ptr<DesktopCore> core_;
    PaintPace paintPace_;
    QPoint normalPlace_; // the frame's corner when last neither maximized nor minimized
};

} // namespace faultward

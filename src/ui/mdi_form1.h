#pragma once

#include "file_dialog.h"
#include "message_boxes.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QMdiArea;

namespace faultward {

class Form1;
class Module1;

QIcon applicationIcon();

// The main window: a fixed-size multiple-document frame holding the project
// files window, the File, Options and Help menus, and the one command routine
// that the File menu and the tool row share.
class MDIForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIForm1(Module1& module, QWidget* parent = nullptr);
    ~MDIForm1() override;

    // Command numbers: 0 open a project, 2 insert, 4 remove, 6 exit, 7 help;
    // any other number only plays the click.
    void cmd_nav(int Index);
    void mnu_f_Click(int Index);
    // Makes mode Index the only checked Options item and the handling mode.
    void mnu_o_Click(int Index);
    void mnu_h_Click(int Index);

    // Checks the Options item of a stored mode; false when there is none.
    bool markModeItem(int mode);

    Form1& form1() { return *form1_; }
    MessageBoxes& messageBoxes() { return *messageBoxes_; }
    void setFileDialog(std::unique_ptr<FileDialog> dialog) { fileDialog_ = std::move(dialog); }
    void setMessageBoxes(std::unique_ptr<MessageBoxes> boxes) { messageBoxes_ = std::move(boxes); }

    // Help, About shows the About window through this.
    std::function<void()> onShowAbout;
    // Exit ends the process at once, skipping the close handler and so the
    // saving of the settings. Tests replace it.
    std::function<void()> terminate;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void Open_Project();
    void runPasses(bool insert);
    void sendHelpKey();

    Module1& module_;
    QMdiArea* mdiArea_ = nullptr;
    Form1* form1_ = nullptr;
    QWidget* form1Frame_ = nullptr; // the MDI child frame around form1_
    std::array<QAction*, 3> modeItems_{};
    std::unique_ptr<FileDialog> fileDialog_;
    std::unique_ptr<MessageBoxes> messageBoxes_;
};

} // namespace faultward

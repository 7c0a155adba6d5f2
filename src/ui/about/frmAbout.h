#pragma once

#include "sys_info_launcher.h"

#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;

namespace faultward::about {

// The text of lblVersion: major, minor and revision; the build number is not shown.
QString versionText(int major, int minor, int revision);

// The About window: title, version, maker text, and a button that starts the
// System Information program. Modeless and loaded at most once; closing it
// unloads it, and the next showAbout() loads it afresh.
class frmAbout final : public QWidget {
    Q_OBJECT

public:
    // Loads the window if needed, shows it and brings it forward.
    static frmAbout* showAbout();
    // The loaded window, or nullptr.
    static frmAbout* loaded();

    // Buttons of cmd_abt: 1 closes the window, 2 starts System Information.
    void cmd_abt_Click(int index);
    void StartSysInfo();

    // Lets tests replace the registry, the program start and the message.
    void setSysInfoPlatform(std::unique_ptr<SysInfoPlatform> platform);

private:
    frmAbout();
    void buildControls();
    void Form_Load();

    QLabel* picIcon_ = nullptr;
    QLabel* lblTitle_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    std::unique_ptr<SysInfoPlatform> platform_;
};

} // namespace faultward::about

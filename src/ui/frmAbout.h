#pragma once

#include "app/desktop/sys_info_launcher.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace faultward::about {

// The About window: title, version, maker text, and a button that starts the
// System Information program. Closing it unloads it.
class frmAbout final : public QWidget {
    Q_OBJECT

public:
    explicit frmAbout(SysInfoPlatform& platform);

    // Buttons of cmd_abt: 1 closes the window, 2 starts System Information.
    void cmd_abt_Click(int index);

private:
    void buildControls();
    void Form_Load();

    QLabel* picIcon_ = nullptr;
    QLabel* lblTitle_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    SysInfoPlatform& platform_;
};

} // namespace faultward::about

namespace faultward {

// The one About window of the program: loaded when first shown, brought
// forward when shown again, loaded afresh after it was closed.
class AboutBox {
public:
    explicit AboutBox(about::SysInfoPlatform& platform) : platform_(platform) {}
    // Loads the window if needed, centred over the given window (or the
    // screen), shows it and brings it forward.
    about::frmAbout* show(const QWidget* over = nullptr);
    // The loaded window, or nullptr.
    about::frmAbout* loaded() const { return window_; }

private:
    about::SysInfoPlatform& platform_;
    QPointer<about::frmAbout> window_;
};

} // namespace faultward

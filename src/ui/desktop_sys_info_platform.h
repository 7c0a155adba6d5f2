#pragma once

#include "app/desktop/sys_info_launcher.h"
#include "platform/linux_registry.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QMessageBox;

namespace faultward::about {

// The System Information launcher's view of this desktop: the search path
// stands in for the registry, programs start as detached processes, and the
// failure message is a message box over the About window.
class DesktopSysInfoPlatform : public SysInfoPlatform {
public:
    explicit DesktopSysInfoPlatform(QWidget* messageParent = nullptr);

    Registry& registry() override;
    std::optional<std::string> findOrdinaryFile(const std::string& windowsPath) override;
    bool startProgram(const std::string& commandLine) override;
    void showUnavailable() override;

private:
    LinuxRegistry registry_;
    QPointer<QWidget> messageParent_;
};

// The message shown when the tool cannot be started: OK only, no icon.
std::unique_ptr<QMessageBox> makeUnavailableMessage(QWidget* parent);

} // namespace faultward::about

#pragma once

#include "app/desktop/sys_info_launcher.h"
#include "platform/win32_registry.h"

#include <windows.h>

namespace faultward::win {

class MessageBoxes;

// Starting the System Information program on Windows: the real registry, the
// file system's attributes, a process of its own that nobody waits for, and
// the message through the program's message boxes.
class Win32SysInfoPlatform final : public about::SysInfoPlatform {
public:
    explicit Win32SysInfoPlatform(MessageBoxes& messages) : messages_(messages) {}

    about::Registry& registry() override { return registry_; }
    std::optional<std::string> findOrdinaryFile(const std::string& windowsPath) override;
    bool startProgram(const std::string& commandLine) override;
    void showUnavailable() override;

private:
    about::Win32Registry registry_;
    MessageBoxes& messages_;
};

} // namespace faultward::win

#pragma once

#include "platform/registry.h"

#include <optional>
#include <string>

namespace faultward::about {

inline constexpr char kSysInfoUnavailable[] = "System Information Is Unavailable At This Time";

// What starting the System Information program touches outside the program.
class SysInfoPlatform {
public:
    virtual ~SysInfoPlatform() = default;

    virtual Registry& registry() = 0;
    // The ordinary file (not hidden, not a folder) that the Windows-style path
    // names, as a path of this system; nothing when there is none.
    virtual std::optional<std::string> findOrdinaryFile(const std::string& windowsPath) = 0;
    // Starts commandLine as a program of its own and does not wait for it.
    virtual bool startProgram(const std::string& commandLine) = 0;
    // Says, and waits until the user has read, that the tool cannot be started.
    virtual void showUnavailable() = 0;
};

// Finds the System Information program through the registry and starts it;
// every failure ends in showUnavailable(), none reaches the caller.
void StartSysInfo(SysInfoPlatform& platform);

} // namespace faultward::about

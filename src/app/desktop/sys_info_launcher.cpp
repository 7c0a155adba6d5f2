#include "app/desktop/sys_info_launcher.h"

#include "app/desktop/get_key_value.h"

#include <exception>

namespace faultward::about {
namespace {

constexpr char kPathKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kPathValue[] = "PATH";
constexpr char kFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char kFolderValue[] = "MSINFO";
constexpr char kProgramFile[] = "\\MSINFO32.EXE";

// The program to start, or nothing when the registry does not lead to one.
std::optional<std::string> sysInfoProgram(SysInfoPlatform& platform) {
    std::string path;
    // The full path, when present, is trusted as it stands.
    if (GetKeyValue(platform.registry(), kHkeyLocalMachine, kPathKey, kPathValue, path))
        return path;
    if (!GetKeyValue(platform.registry(), kHkeyLocalMachine, kFolderKey, kFolderValue, path))
        return std::nullopt;
    return platform.findOrdinaryFile(path + kProgramFile);
}

} // namespace

void StartSysInfo(SysInfoPlatform& platform) {
    try {
        if (const auto program = sysInfoProgram(platform);
            program && platform.startProgram(*program))
            return;
    } catch (const std::exception&) {
        // A value the lookup cannot read ends like a missing one.
    }
    platform.showUnavailable();
}

} // namespace faultward::about

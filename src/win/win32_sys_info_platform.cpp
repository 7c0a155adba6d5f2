#include "win/win32_sys_info_platform.h"

#include "platform/win32_text.h"
#include "win/message_boxes.h"

#include <vector>

namespace faultward::win {

// Registry values are read in the ANSI code page, so the paths they give are
// turned into text the same way.
std::optional<std::string> Win32SysInfoPlatform::findOrdinaryFile(const std::string& windowsPath) {
    const DWORD attributes = GetFileAttributesW(win32::wideFromAnsi(windowsPath).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        return std::nullopt;
    return windowsPath;
}

bool Win32SysInfoPlatform::startProgram(const std::string& commandLine) {
    // CreateProcessW may write into the command line it is given.
    std::wstring text = win32::wideFromAnsi(commandLine);
    if (text.empty())
        return false;
    std::vector<wchar_t> line(text.begin(), text.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    // The program runs on its own; nothing waits for it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void Win32SysInfoPlatform::showUnavailable() {
    // Over the window the user clicked in, the About window as a rule.
    messages_.showMessage(GetActiveWindow(), about::kSysInfoUnavailable, MessageIcon::None);
}

} // namespace faultward::win

#include "win/stand_alone_text.h"

#include "app/desktop/desktop_arguments.h"
#include "app/texts/texts.h"
#include "platform/standard_streams.h"
#include "platform/utf16.h"

#include <vector>

#include <windows.h>

#include <shellapi.h>

namespace faultward::win {
namespace {

bool hasOutput() {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    return output != nullptr && output != INVALID_HANDLE_VALUE;
}

// The console of the process that started this one, as standard output.
bool attachParentConsole() {
    if (!::AttachConsole(ATTACH_PARENT_PROCESS))
        return false;
    const HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, 0, nullptr);
    return console != INVALID_HANDLE_VALUE && ::SetStdHandle(STD_OUTPUT_HANDLE, console);
}

} // namespace

std::optional<std::string> standAloneText() {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide)
        return std::nullopt;
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(wtf8FromUtf16(reinterpret_cast<const char16_t*>(wide[i])));
    ::LocalFree(wide);
    return desktopStandAloneText(args);
}

void printStandAloneText(const std::string& text) {
    if (hasOutput() || attachParentConsole()) {
        std::ostream& out = standardStream(StandardStream::Output);
        out << text;
        out.flush();
        return;
    }
    const std::u16string shown = utf16FromWtf8(text);
    const std::u16string caption = utf16FromWtf8(kProductName);
    ::MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(shown.c_str()),
                  reinterpret_cast<const wchar_t*>(caption.c_str()), MB_OK | MB_ICONINFORMATION);
}

} // namespace faultward::win

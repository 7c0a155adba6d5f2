#include "support/process.h"

#include "platform/utf16.h"
#include "support/temp_folder.h"

#include <windows.h>

namespace faultward::testing {
namespace {

std::wstring wide(std::string_view bytes) {
    const std::u16string units = utf16FromWtf8(bytes);
    return std::wstring(units.begin(), units.end());
}

// Quotes an argument so that the C runtime's parser of the child gives it
// back unchanged: backslashes count only before a quote.
void appendQuoted(std::wstring& line, const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, L'\\');
    line += L'"';
}

HANDLE inheritableFile(const std::filesystem::path& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

ProcessResult runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& workingFolder) {
    TempFolder streams;
    std::wstring line;
    appendQuoted(line, program.native());
    for (const std::string& arg : args) {
        line += L' ';
        appendQuoted(line, wide(arg));
    }
    const HANDLE out = inheritableFile(streams / "out");
    const HANDLE err = inheritableFile(streams / "err");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const bool started = ::CreateProcessW(
        program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process);
    ::CloseHandle(out);
    ::CloseHandle(err);
    ProcessResult result;
    if (!started)
        return result;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (::GetExitCodeProcess(process.hProcess, &code))
        result.exitCode = static_cast<int>(code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    result.out = readFile(streams / "out");
    result.err = readFile(streams / "err");
    return result;
}

} // namespace faultward::testing

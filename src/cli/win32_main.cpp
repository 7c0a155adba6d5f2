#include "cli/program.h"
#include "platform/utf16.h"

#include <cwchar>

// The wide entry point: main's arguments would arrive in the ANSI code page,
// where a path with other characters cannot be passed at all.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(
            faultward::wtf8FromUtf16(std::u16string(argv[i], argv[i] + std::wcslen(argv[i]))));
    return faultward::runCliProgram(args);
}

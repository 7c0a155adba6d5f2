#include "platform/win32_file_handle.h"

namespace faultward::win32 {

bool isInUseError(DWORD error) {
    // ReplaceFileW gives ERROR_UNABLE_TO_REMOVE_REPLACED when it cannot open
    // the file it replaces.
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

void pauseBeforeRetry(int round) {
    // 1.26 seconds in all.
    static constexpr DWORD kPauses[kRetryRounds] = {20, 40, 80, 160, 320, 640};
    ::Sleep(kPauses[round]);
}

HANDLE openExisting(const std::wstring& path, DWORD access, DWORD flags) {
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE handle = INVALID_HANDLE_VALUE;
    retryWhileInUse([&] {
        handle =
            ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
        return handle != INVALID_HANDLE_VALUE;
    });
    return handle;
}

} // namespace faultward::win32

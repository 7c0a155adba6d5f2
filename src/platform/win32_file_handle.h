#pragma once

#include <string>

#include <windows.h>

namespace faultward::win32 {

// Owns a handle from CreateFileW and closes it.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~FileHandle() { reset(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
    void reset() {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    // Closes now, so that a failing close (a delayed write error) is seen.
    bool close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

// Whether an error means that another program holds the file open without
// sharing it, or has locked a part of it.
bool isInUseError(DWORD error);

inline constexpr int kRetryRounds = 6;
void pauseBeforeRetry(int round);

// Calls attempt until it returns true, pausing and trying again while the
// error it leaves is isInUseError, for about a second in all: an editor or a
// virus scanner mostly lets go of a file within that time. The last error
// stays for the caller to read.
template <typename Attempt> bool retryWhileInUse(Attempt attempt) {
    for (int round = 0;; ++round) {
        if (attempt())
            return true;
        const DWORD error = ::GetLastError();
        if (round == kRetryRounds || !isInUseError(error))
            return false;
        pauseBeforeRetry(round);
        ::SetLastError(error);
    }
}

// Opens an existing file, sharing it with every other program as a POSIX
// system would, and trying again while it is in use.
HANDLE openExisting(const std::wstring& path, DWORD access, DWORD flags);

} // namespace faultward::win32

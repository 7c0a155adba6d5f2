#include "platform/journal_system.h"

#include "platform/win32_file_handle.h"
#include "platform/win32_long_path.h"

#include <windows.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

using win32::FileHandle;

std::int64_t timeOf(LARGE_INTEGER time) {
    return time.QuadPart;
}

std::string creationTime(HANDLE process) {
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return {};
    return std::to_string((std::uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime);
}

class Win32JournalFile final : public JournalFile {
public:
    explicit Win32JournalFile(HANDLE handle) : handle_(handle) {}

    bool append(std::string_view bytes, bool durable) override {
        LARGE_INTEGER end{};
        if (!::SetFilePointerEx(handle_.get(), end, nullptr, FILE_END))
            return false;
        while (!bytes.empty()) {
            DWORD written = 0;
            if (!::WriteFile(handle_.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                             &written, nullptr) ||
                written == 0)
                return false;
            bytes.remove_prefix(written);
        }
        return !durable || ::FlushFileBuffers(handle_.get());
    }

    std::optional<std::string> contents() override { return readAll(handle_.get()); }

    bool clear() override {
        LARGE_INTEGER start{};
        return ::SetFilePointerEx(handle_.get(), start, nullptr, FILE_BEGIN) &&
               ::SetEndOfFile(handle_.get());
    }

    void remove() override {
        FILE_DISPOSITION_INFO disposition{TRUE};
        ::SetFileInformationByHandle(handle_.get(), FileDispositionInfo, &disposition,
                                     sizeof disposition);
    }

    static std::optional<std::string> readAll(HANDLE handle) {
        LARGE_INTEGER start{};
        if (!::SetFilePointerEx(handle, start, nullptr, FILE_BEGIN))
            return std::nullopt;
        std::string text;
        char buffer[16384];
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(handle, buffer, sizeof buffer, &got, nullptr))
                return std::nullopt;
            if (got == 0)
                return text;
            text.append(buffer, got);
        }
    }

private:
    FileHandle handle_;
};

} // namespace

std::optional<FileStamp> stampOf(const fs::path& path) {
    const std::wstring name = win32::extendedPath(path);
    if (win32::isDevicePath(name))
        return std::nullopt;
    FileHandle file(::CreateFileW(
        name.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
        nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    FILE_BASIC_INFO basic;
    if (!file || !::GetFileInformationByHandle(file.get(), &info) ||
        !::GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic))
        return std::nullopt;
    return FileStamp{
        .exists = true,
        .size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
        .modified = timeOf(basic.LastWriteTime),
        .changed = timeOf(basic.ChangeTime),
        .identity = {info.dwVolumeSerialNumber,
                     (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow},
        .regular = (info.dwFileAttributes &
                    (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0};
}

ProcessMark thisProcess() {
    static const ProcessMark self{::GetCurrentProcessId(), creationTime(::GetCurrentProcess())};
    return self;
}

bool processRunning(const ProcessMark& process) {
    if (process.id > 0xFFFFFFFFu)
        return false;
    const HANDLE handle =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process.id));
    if (!handle)
        // Another user's process may not be opened, but it runs.
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    bool running = ::GetExitCodeProcess(handle, &code) && code == STILL_ACTIVE;
    // A process of that id runs: the same one only if it started when that did.
    if (running && !process.start.empty()) {
        const std::string start = creationTime(handle);
        running = start.empty() || start == process.start;
    }
    ::CloseHandle(handle);
    return running;
}

bool removeFile(const fs::path& path) {
    const std::wstring name = win32::extendedPath(path);
    if (::DeleteFileW(name.c_str()))
        return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The user's local application data is the user's own already.
bool makePrivateFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

bool writePrivateFile(const fs::path& path, std::span<const std::string_view> pieces) {
    const std::wstring name = win32::extendedPath(path);
    FileHandle file(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    bool written = true;
    for (std::string_view piece : pieces)
        while (written && !piece.empty()) {
            DWORD done = 0;
            written = ::WriteFile(file.get(), piece.data(),
                                  static_cast<DWORD>(std::min<std::size_t>(piece.size(), 1 << 30)),
                                  &done, nullptr) &&
                      done > 0;
            if (written)
                piece.remove_prefix(done);
        }
    if (!written || !::FlushFileBuffers(file.get()) || !file.close()) {
        file.reset();
        ::DeleteFileW(name.c_str());
        return false;
    }
    return true;
}

// The owner shares its journal for reading only: no one claims it while the
// owner runs, and Windows closes it when the owner ends, however it ends.
std::unique_ptr<JournalFile> JournalFile::create(const fs::path& path) {
    const HANDLE handle =
        ::CreateFileW(win32::extendedPath(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                      FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<Win32JournalFile>(handle);
}

std::unique_ptr<JournalFile> JournalFile::claim(const fs::path& path) {
    const HANDLE handle =
        ::CreateFileW(win32::extendedPath(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                      nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<Win32JournalFile>(handle);
}

std::optional<std::string> JournalFile::peek(const fs::path& path) {
    FileHandle file(::CreateFileW(win32::extendedPath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file)
        return std::nullopt;
    return Win32JournalFile::readAll(file.get());
}

} // namespace faultward

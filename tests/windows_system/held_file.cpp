#include "held_file.h"

#include "platform/win32_long_path.h"

namespace faultward::testing {

HeldFile::HeldFile(const std::filesystem::path& path, DWORD sharing)
    : handle_(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, sharing, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldFile::~HeldFile() {
    if (closer_.joinable())
        closer_.join();
    else if (handle_ != INVALID_HANDLE_VALUE)
        ::CloseHandle(handle_);
}

void HeldFile::letGoAfter(std::chrono::milliseconds delay) {
    closer_ = std::thread([handle = handle_, delay] {
        std::this_thread::sleep_for(delay);
        ::CloseHandle(handle);
    });
}

std::vector<std::wstring> temporariesIn(const std::filesystem::path& folder) {
    // FindFirstFileW takes extended paths, which the library's folder walk does not.
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search =
        ::FindFirstFileW(win32::joinPath(win32::extendedPath(folder), L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name.find(L".faultward-") != std::wstring::npos)
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

void createFoldersAtAnyLength(const std::wstring& extended) {
    // Past the "\\?\C:\" start, every backslash ends one folder.
    for (std::size_t slash = extended.find(L'\\', 7); slash != std::wstring::npos;
         slash = extended.find(L'\\', slash + 1))
        ::CreateDirectoryW(extended.substr(0, slash).c_str(), nullptr);
    ::CreateDirectoryW(extended.c_str(), nullptr);
}

} // namespace faultward::testing

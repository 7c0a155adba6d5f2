#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

namespace faultward::testing {

// A file held open the way another program (the Visual Basic IDE, a virus
// scanner) holds it: with only the given sharing, until the object goes or
// letGoAfter's time has passed.
class HeldFile {
public:
    HeldFile(const std::filesystem::path& path, DWORD sharing);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void letGoAfter(std::chrono::milliseconds delay);

private:
    HANDLE handle_;
    std::thread closer_;
};

// The names in a folder that this program gives its temporaries.
std::vector<std::wstring> temporariesIn(const std::filesystem::path& folder);

// Creates every folder of an extended (\\?\) path, at any length.
void createFoldersAtAnyLength(const std::wstring& extended);

} // namespace faultward::testing

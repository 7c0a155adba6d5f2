#include "platform/linux_registry.h"

#include "platform/windows_names.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include <unistd.h>

namespace faultward::about {
namespace {

constexpr std::string_view kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view kSysInfoValue = "PATH";
constexpr RegistryKey kSysInfoHandle = 1;

std::optional<std::string> findOnSearchPath(const std::string& program,
                                            std::string_view searchPath) {
    namespace fs = std::filesystem;
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string_view::npos)
            end = searchPath.size();
        // An empty entry means the current folder.
        const std::string folder(searchPath.substr(start, end - start));
        const fs::path candidate = fs::path(folder.empty() ? "." : folder) / program;
        std::error_code error;
        if (fs::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0)
            return fs::absolute(candidate, error).lexically_normal().string();
        start = end + 1;
    }
    return std::nullopt;
}

} // namespace

LinuxRegistry::LinuxRegistry(std::string searchPath) : searchPath_(std::move(searchPath)) {}

LinuxRegistry::LinuxRegistry() {
    if (const char* path = std::getenv("PATH"))
        searchPath_ = path;
}

const std::vector<std::string>& LinuxRegistry::sysInfoPrograms() {
    static const std::vector<std::string> programs = {"hardinfo2", "hardinfo", "kinfocenter"};
    return programs;
}

long LinuxRegistry::openKey(RegistryKey root, std::string_view subKey, std::uint32_t, std::uint32_t,
                            RegistryKey& key) {
    if (root != kHkeyLocalMachine || !equalIgnoringAsciiCase(subKey, kSysInfoKey))
        return kErrorFileNotFound;
    key = kSysInfoHandle;
    return kErrorSuccess;
}

long LinuxRegistry::queryValue(RegistryKey key, std::string_view valueName, std::uint32_t& type,
                               unsigned char* data, std::uint32_t& size) {
    if (key != kSysInfoHandle || !equalIgnoringAsciiCase(valueName, kSysInfoValue))
        return kErrorFileNotFound;
    for (const std::string& program : sysInfoPrograms()) {
        const auto path = findOnSearchPath(program, searchPath_);
        if (!path)
            continue;
        // Stored as kRegSz values are: the text and its terminating zero.
        const std::size_t needed = path->size() + 1;
        if (needed > size) {
            size = static_cast<std::uint32_t>(needed);
            return kErrorMoreData;
        }
        std::memcpy(data, path->c_str(), needed);
        size = static_cast<std::uint32_t>(needed);
        type = kRegSz;
        return kErrorSuccess;
    }
    return kErrorFileNotFound;
}

long LinuxRegistry::closeKey(RegistryKey) {
    return kErrorSuccess;
}

} // namespace faultward::about

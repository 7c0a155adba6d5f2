#include "platform/win32_registry.h"

#include <windows.h>

#include <string>

namespace faultward::about {
namespace {

// HKEY_CLASSES_ROOT to HKEY_CURRENT_CONFIG: handles Windows gives these
// numbers, sign-extended to a pointer's width.
constexpr RegistryKey kFirstRoot = 0x80000000;
constexpr RegistryKey kLastRoot = 0x80000005;

bool isRoot(RegistryKey key) {
    return key >= kFirstRoot && key <= kLastRoot;
}

HKEY rootHandle(RegistryKey key) {
    return reinterpret_cast<HKEY>(
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(key))));
}

} // namespace

Win32Registry::~Win32Registry() {
    for (const auto& [number, handle] : open_)
        RegCloseKey(static_cast<HKEY>(handle));
}

long Win32Registry::openKey(RegistryKey root, std::string_view subKey, std::uint32_t options,
                            std::uint32_t access, RegistryKey& key) {
    HKEY parent = nullptr;
    if (isRoot(root))
        parent = rootHandle(root);
    else if (const auto found = open_.find(root); found != open_.end())
        parent = static_cast<HKEY>(found->second);
    else
        return ERROR_INVALID_HANDLE;
    // The names are ANSI text, as the A functions take them.
    const std::string name(subKey);
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(parent, name.c_str(), options, access, &opened);
    if (result != ERROR_SUCCESS)
        return result;
    key = next_++;
    open_[key] = opened;
    return ERROR_SUCCESS;
}

long Win32Registry::queryValue(RegistryKey key, std::string_view valueName, std::uint32_t& type,
                               unsigned char* data, std::uint32_t& size) {
    const auto found = open_.find(key);
    if (found == open_.end())
        return ERROR_INVALID_HANDLE;
    const std::string name(valueName);
    DWORD valueType = 0;
    DWORD bytes = size;
    const LONG result = RegQueryValueExA(static_cast<HKEY>(found->second), name.c_str(), nullptr,
                                         &valueType, data, &bytes);
    if (result != ERROR_SUCCESS)
        return result;
    type = valueType;
    size = bytes;
    return ERROR_SUCCESS;
}

long Win32Registry::closeKey(RegistryKey key) {
    const auto found = open_.find(key);
    if (found == open_.end())
        return ERROR_INVALID_HANDLE;
    const LONG result = RegCloseKey(static_cast<HKEY>(found->second));
    open_.erase(found);
    return result;
}

} // namespace faultward::about

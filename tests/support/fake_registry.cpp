#include "support/fake_registry.h"

#include <cstring>

namespace faultward::about::testing {

void FakeRegistry::set(const std::string& key, const std::string& valueName, std::uint32_t type,
                       std::string bytes) {
    keys_[key][valueName] = {type, std::move(bytes)};
}

long FakeRegistry::openKey(RegistryKey root, std::string_view subKey, std::uint32_t,
                           std::uint32_t access, RegistryKey& key) {
    calls.push_back("open " + std::string(subKey));
    accessMasks.push_back(access);
    if (root != kHkeyLocalMachine || !keys_.contains(std::string(subKey)))
        return kErrorFileNotFound;
    key = nextHandle_++;
    handles_[key] = std::string(subKey);
    openHandles.insert(key);
    return kErrorSuccess;
}

long FakeRegistry::queryValue(RegistryKey key, std::string_view valueName, std::uint32_t& type,
                              unsigned char* data, std::uint32_t& size) {
    calls.push_back("query " + std::string(valueName));
    const auto handle = handles_.find(key);
    if (handle == handles_.end())
        return 6; // ERROR_INVALID_HANDLE
    const auto& values = keys_[handle->second];
    const auto value = values.find(std::string(valueName));
    if (value == values.end())
        return kErrorFileNotFound;
    const std::string& bytes = value->second.bytes;
    if (bytes.size() > size) {
        size = static_cast<std::uint32_t>(bytes.size());
        return kErrorMoreData;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    size = static_cast<std::uint32_t>(bytes.size());
    type = value->second.type;
    return kErrorSuccess;
}

long FakeRegistry::closeKey(RegistryKey key) {
    calls.push_back("close");
    openHandles.erase(key);
    return handles_.erase(key) ? kErrorSuccess : 6;
}

std::string storedString(const std::string& text) {
    return text + '\0';
}

} // namespace faultward::about::testing

#pragma once

#include "platform/registry.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace faultward::about::testing {

// A registry held in memory: raw value bytes with their types, and a log of
// every call so tests can see what was opened, read and closed.
class FakeRegistry final : public Registry {
public:
    void set(const std::string& key, const std::string& valueName, std::uint32_t type,
             std::string bytes);

    long openKey(RegistryKey root, std::string_view subKey, std::uint32_t options,
                 std::uint32_t access, RegistryKey& key) override;
    long queryValue(RegistryKey key, std::string_view valueName, std::uint32_t& type,
                    unsigned char* data, std::uint32_t& size) override;
    long closeKey(RegistryKey key) override;

    std::vector<std::string> calls;
    std::vector<std::uint32_t> accessMasks;
    std::set<RegistryKey> openHandles;

private:
    struct Value {
        std::uint32_t type;
        std::string bytes;
    };
    std::map<std::string, std::map<std::string, Value>> keys_;
    std::map<RegistryKey, std::string> handles_;
    RegistryKey nextHandle_ = 100;
};

// The bytes of a kRegSz as it is stored: the text and its terminating zero.
std::string storedString(const std::string& text);

} // namespace faultward::about::testing

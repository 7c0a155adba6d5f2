#pragma once

#include <cstdint>
#include <string_view>

namespace faultward::about {

// Registry handles and codes keep the values the Windows registry uses, so a
// stored value reads the same through any implementation. The names differ
// from the Windows headers', which define theirs as macros.
using RegistryKey = std::uint32_t;

inline constexpr RegistryKey kHkeyLocalMachine = 0x80000002;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorMoreData = 234;

// READ_CONTROL with the six key rights: query value, set value, create
// sub-key, enumerate sub-keys, notify and create link.
inline constexpr std::uint32_t kKeyOpenAccess = 0x2003F;

// The three registry operations the System Information lookup needs.
class Registry {
public:
    virtual ~Registry() = default;

    // Opens root\subKey; on success writes the new handle to key.
    virtual long openKey(RegistryKey root, std::string_view subKey, std::uint32_t options,
                         std::uint32_t access, RegistryKey& key) = 0;
    // Copies the value's data into data, which holds size bytes. On success
    // sets type and size (the bytes written); data that does not fit gives
    // kErrorMoreData.
    virtual long queryValue(RegistryKey key, std::string_view valueName, std::uint32_t& type,
                            unsigned char* data, std::uint32_t& size) = 0;
    virtual long closeKey(RegistryKey key) = 0;
};

} // namespace faultward::about

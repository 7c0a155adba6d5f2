#pragma once

#include "platform/registry.h"

#include <map>

namespace faultward::about {

// The Windows registry. Roots are the predefined keys by their 32-bit values
// (kHkeyLocalMachine); an opened key is handed out as a small number of its
// own, since a Windows key handle is as wide as a pointer.
class Win32Registry final : public Registry {
public:
    Win32Registry() = default;
    ~Win32Registry() override;
    Win32Registry(const Win32Registry&) = delete;
    Win32Registry& operator=(const Win32Registry&) = delete;

    long openKey(RegistryKey root, std::string_view subKey, std::uint32_t options,
                 std::uint32_t access, RegistryKey& key) override;
    long queryValue(RegistryKey key, std::string_view valueName, std::uint32_t& type,
                    unsigned char* data, std::uint32_t& size) override;
    long closeKey(RegistryKey key) override;

    // Keys opened and not yet closed.
    std::size_t openCount() const { return open_.size(); }

private:
    std::map<RegistryKey, void*> open_;
    RegistryKey next_ = 1;
};

} // namespace faultward::about

#include "app/desktop/get_key_value.h"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace faultward::about {
namespace {

constexpr std::uint32_t kBufferSize = 1024;

// Closes the key on every way out, a thrown failure included.
class OpenKey {
public:
    explicit OpenKey(Registry& registry) : registry_(registry) {}
    ~OpenKey() { registry_.closeKey(handle); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    RegistryKey handle = 0;

private:
    Registry& registry_;
};

// The number whose bytes are stored least significant first.
std::string dwordText(std::string_view bytes) {
    std::uint64_t number = 0;
    for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
        number = (number << 8) | static_cast<unsigned char>(*it);
        if (number > 0xFFFFFFFFu)
            throw std::runtime_error("registry number wider than 32 bits");
    }
    return std::to_string(number);
}

} // namespace

bool GetKeyValue(Registry& registry, RegistryKey root, std::string_view keyName,
                 std::string_view subKeyRef, std::string& keyValue) {
    OpenKey key(registry);
    if (registry.openKey(root, keyName, 0, kKeyOpenAccess, key.handle) != kErrorSuccess) {
        keyValue.clear();
        return false;
    }

    std::array<unsigned char, kBufferSize> buffer{};
    std::uint32_t size = kBufferSize;
    std::uint32_t type = 0;
    if (registry.queryValue(key.handle, subKeyRef, type, buffer.data(), size) != kErrorSuccess ||
        size > kBufferSize) {
        keyValue.clear();
        return false;
    }

    if (size == 0)
        throw std::runtime_error("registry value without data");
    std::string_view text(reinterpret_cast<const char*>(buffer.data()), size);
    // A string keeps its terminating zero in the registry; drop exactly that one.
    if (text.back() == '\0')
        text.remove_suffix(1);

    switch (type) {
    case kRegSz:
        keyValue = std::string(text);
        break;
    case kRegDword:
        keyValue = dwordText(text);
        break;
    default:
        break;
    }
    return true;
}

} // namespace faultward::about

#pragma once

#include <cstdint>
#include <initializer_list>

namespace faultward {

// A set of the values of an enumeration whose values are single bits.
template <typename Kind> class KindSet {
public:
    constexpr KindSet() = default;
    constexpr KindSet(Kind kind) : bits_(static_cast<std::uint8_t>(kind)) {}
    constexpr KindSet(std::initializer_list<Kind> kinds) {
        for (const Kind kind : kinds)
            bits_ = static_cast<std::uint8_t>(bits_ | static_cast<std::uint8_t>(kind));
    }

    constexpr bool has(Kind kind) const { return (bits_ & static_cast<std::uint8_t>(kind)) != 0; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr KindSet operator|(KindSet other) const {
        KindSet joined;
        joined.bits_ = static_cast<std::uint8_t>(bits_ | other.bits_);
        return joined;
    }
    constexpr bool operator==(const KindSet&) const = default;

private:
    std::uint8_t bits_ = 0;
};

} // namespace faultward

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace faultward {

// SHA-256 (FIPS 180-4), fed in pieces: what a remembered answer is keyed on,
// so that a project file changed in any byte is asked about again.
class Sha256 {
public:
    Sha256();
    void add(std::string_view bytes);
    // The digest as 64 lowercase hexadecimal digits; the object is spent.
    std::string hex();

private:
    void block(const unsigned char* bytes);

    std::array<std::uint32_t, 8> state_;
    std::array<unsigned char, 64> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t length_ = 0; // bytes added
};

} // namespace faultward

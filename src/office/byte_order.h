#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "office/format_error.h"

namespace faultward::office {

// Little-endian numbers at an offset of a byte string, every read checked
// against its end: a length or offset taken from a document never reads past
// what is there.

inline void requireBytes(std::string_view bytes, std::uint64_t offset, std::uint64_t count,
                         const char* what) {
    if (offset > bytes.size() || count > bytes.size() - offset) {
        throw FormatError(std::string(what) + " ends before its data");
    }
}

inline std::uint16_t readU16(std::string_view bytes, std::uint64_t offset,
                             const char* what = "the data") {
    requireBytes(bytes, offset, 2, what);
    auto b = [&](std::uint64_t i) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset + i]));
    };
    return static_cast<std::uint16_t>(b(0) | (b(1) << 8));
}

inline std::uint32_t readU32(std::string_view bytes, std::uint64_t offset,
                             const char* what = "the data") {
    requireBytes(bytes, offset, 4, what);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

inline std::uint64_t readU64(std::string_view bytes, std::uint64_t offset,
                             const char* what = "the data") {
    return readU32(bytes, offset, what) |
           (static_cast<std::uint64_t>(readU32(bytes, offset + 4, what)) << 32);
}

inline void appendU16(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

inline void appendU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

inline void appendU64(std::string& out, std::uint64_t value) {
    appendU32(out, static_cast<std::uint32_t>(value));
    appendU32(out, static_cast<std::uint32_t>(value >> 32));
}

inline void storeU16(std::string& out, std::size_t offset, std::uint16_t value) {
    out[offset] = static_cast<char>(value & 0xFF);
    out[offset + 1] = static_cast<char>(value >> 8);
}

inline void storeU32(std::string& out, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

} // namespace faultward::office

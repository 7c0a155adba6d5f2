#pragma once

#include <string>
#include <string_view>

namespace faultward {

// Code page 1252 text as UTF-8; ASCII passes through unchanged. Project files
// and sources name their files in that code page, while a Linux file system
// and the Qt windows hold such names in UTF-8.
std::string windows1252ToUtf8(std::string_view text);

// The small letter of a code page 1252 capital (a for A, \xE0 for \xC0, \x9A
// for \x8A, ...), as Windows and the language compare names without regard
// to case; any other byte as it is.
constexpr char lowerWindows1252(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
        return static_cast<char>(byte + 0x20);
    switch (byte) {
    case 0x8A: // S caron
    case 0x8C: // OE
    case 0x8E: // Z caron
        return static_cast<char>(byte + 0x10);
    case 0x9F: // Y diaeresis
        return static_cast<char>(0xFF);
    default:
        return c;
    }
}

} // namespace faultward

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace faultward {

// Windows names files in UTF-16 that need not be well formed: a lone surrogate
// is a legal character of a file name. The program keeps such names as bytes
// in WTF-8, UTF-8 extended to encode a lone surrogate like any other code
// point, so that every name comes back unchanged.
std::string wtf8FromUtf16(std::u16string_view text);

// The reverse; bytes that form no character become U+FFFD.
std::u16string utf16FromWtf8(std::string_view bytes);

// Decodes the whole characters at the start of bytes onto out and returns how
// many bytes that used: a character cut off at the end is left for the next
// call, so text written in pieces is decoded as if written at once.
std::size_t appendUtf16FromWtf8(std::string_view bytes, std::u16string& out);

} // namespace faultward

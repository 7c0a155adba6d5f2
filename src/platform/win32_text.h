#pragma once

#include <string>
#include <string_view>

namespace faultward::win32 {

// The program's byte strings as the UTF-16 the wide Windows functions take,
// and back. Paths and arguments are held in WTF-8 (see utf16.h).
std::wstring wideFromBytes(std::string_view bytes);
std::string bytesFromWide(std::wstring_view wide);

// Text in the ANSI code page, the way a project file names its files.
std::wstring wideFromAnsi(std::string_view ansi);

// UTF-8 for people to read; a lone surrogate shows as U+FFFD.
std::string utf8FromWide(std::wstring_view wide);

} // namespace faultward::win32

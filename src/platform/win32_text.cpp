#include "platform/win32_text.h"

#include "platform/utf16.h"

#include <climits>
#include <windows.h>

namespace faultward::win32 {

// wchar_t is 16 bits wide on Windows, so the units copy across unchanged.
std::wstring wideFromBytes(std::string_view bytes) {
    const std::u16string units = utf16FromWtf8(bytes);
    return std::wstring(units.begin(), units.end());
}

std::string bytesFromWide(std::wstring_view wide) {
    return wtf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

std::wstring wideFromAnsi(std::string_view ansi) {
    if (ansi.empty() || ansi.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(ansi.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
    return wide;
}

std::string utf8FromWide(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

} // namespace faultward::win32

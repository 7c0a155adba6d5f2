#include "platform/path_bytes.h"

#include "platform/win32_text.h"

namespace faultward {

// Windows names are UTF-16; the bytes are their WTF-8, so any name the system
// can hold comes back unchanged.
std::filesystem::path pathFromBytes(std::string_view bytes) {
    return std::filesystem::path(win32::wideFromBytes(bytes));
}

std::string bytesFromPath(const std::filesystem::path& path) {
    return win32::bytesFromWide(path.native());
}

std::string pathDisplayText(std::string_view pathBytes) {
    return win32::utf8FromWide(win32::wideFromBytes(pathBytes));
}

} // namespace faultward

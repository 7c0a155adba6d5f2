#include "platform/executable_folder.h"

#include <string>

#include <windows.h>

namespace faultward {

std::filesystem::path executableFolder() {
    // The name may be longer than MAX_PATH; a cut-off name fills the buffer.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        std::error_code error;
        if (length == 0)
            return std::filesystem::current_path(error);
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}

} // namespace faultward

#include "win/report_text.h"

#include "platform/win32_text.h"

namespace faultward::win {

std::wstring reportEditText(std::string_view bytes) {
    const std::wstring wide = win32::wideFromAnsi(bytes);
    std::wstring shown;
    shown.reserve(wide.size() + wide.size() / 16);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const wchar_t c = wide[i];
        if (c == L'\r') {
            if (i + 1 < wide.size() && wide[i + 1] == L'\n')
                ++i;
            shown += L"\r\n";
        } else if (c == L'\n') {
            shown += L"\r\n";
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

} // namespace faultward::win

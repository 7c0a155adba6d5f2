#include "platform/display_text.h"

#include "platform/win32_text.h"

namespace faultward {

// Entries are in this machine's ANSI code page, whichever it is.
std::string entryDisplayText(std::string_view entryBytes) {
    return win32::utf8FromWide(win32::wideFromAnsi(entryBytes));
}

} // namespace faultward

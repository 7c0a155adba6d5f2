#include "platform/display_text.h"

#include "platform/windows1252.h"

namespace faultward {

// Projects come from Windows machines whose ANSI code page is, as a rule, 1252.
std::string entryDisplayText(std::string_view entryBytes) {
    return windows1252ToUtf8(entryBytes);
}

} // namespace faultward

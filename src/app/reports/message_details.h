#pragma once

#include <string_view>

namespace faultward {

// What a message box shows of a message that comes with details: the first
// paragraph of its text, up to the first empty line, above the details. The
// rest of the text names in short (the first few, long lines cut in the
// middle) what the details name whole, one to a line, in a box to scroll.
std::string_view leadParagraph(std::string_view text);

} // namespace faultward

#pragma once

#include <string>
#include <string_view>

namespace faultward::win {

// A report's bytes as a multi-line edit control shows them: in the ANSI code
// page, each line ended by a carriage return and line feed, which is the
// only line break the control knows (a lone CR or LF would show as a box or
// not at all). A CR LF pair stays one break.
std::wstring reportEditText(std::string_view bytes);

} // namespace faultward::win

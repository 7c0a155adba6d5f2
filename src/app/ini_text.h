#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace faultward {

// The pieces of INI text that ERRH.ini and a project's settings file share.

// The text without the blanks and tabs around it.
std::string_view trimBlanks(std::string_view text);

// The section name of a "[name]" line.
std::optional<std::string_view> iniSectionName(std::string_view line);

// A physical line with the bytes that ended it (CR LF, CR, LF, or none for
// an unended last line), so that a change touches nothing but its own line.
struct IniLine {
    std::string_view text;
    std::string_view ending;
};
std::vector<IniLine> splitIniLines(std::string_view content);

} // namespace faultward

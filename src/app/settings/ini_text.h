#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// The pieces of INI text that ERRH.ini and a project's settings file share.

// The text without the blanks and tabs around it.
std::string_view trimBlanks(std::string_view text);

// The section name of a "[name]" line.
std::optional<std::string_view> iniSectionName(std::string_view line);

// Whether a line is a comment (";" or "#" first).
bool isIniComment(std::string_view line);

// The UTF-8 byte-order mark older editors put first: not part of the first
// line, and kept when the file is written again.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
std::string_view byteOrderMarkOf(std::string_view content);
// Whether the bytes begin as UTF-16 text does, with its byte-order mark.
bool beginsAsUtf16(std::string_view content);

// A physical line with the bytes that ended it (CR LF, CR, LF, or none for
// an unended last line), so that a change touches nothing but its own line.
struct IniLine {
    std::string_view text;
    std::string_view ending;
};
std::vector<IniLine> splitIniLines(std::string_view content);

// A "key=value" line of a section: where it is (counting from 0), and its
// key and value without the blanks around them.
struct IniKeyLine {
    std::size_t index = 0;
    std::string_view key;
    std::string_view value;
};
// The key lines of every section of that name, read as one section (a merge
// that kept both sides leaves two), in the file's order. Comments are none.
std::vector<IniKeyLine> iniKeyLines(std::span<const std::string_view> lines,
                                    std::string_view section);
// The first of them for key, which is the one in force.
std::optional<IniKeyLine> iniKeyLine(std::span<const std::string_view> lines,
                                     std::string_view section, std::string_view key);
// The value without one pair of enclosing quotes.
std::string_view unquotedIniValue(std::string_view value);

// What a person most likely got wrong in the section's keys, each "line 9
// [Handler] ...": a key given again (the first is used, as Windows reads
// such files), a key not among known.
std::vector<std::string> iniKeyWarnings(std::span<const std::string_view> lines,
                                        std::string_view section,
                                        std::span<const std::string_view> known);

} // namespace faultward

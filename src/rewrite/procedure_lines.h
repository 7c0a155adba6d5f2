#pragma once

#include "rewrite/text_lines.h"

#include <cstddef>
#include <string_view>

namespace faultward {

// A line whose first characters are one of the five Sub prefixes, exact case.
bool isSubHeadSlow(std::string_view line);
inline bool isSubHead(std::string_view line) {
    // Every prefix starts with S, F or P; most lines start with a blank.
    return !line.empty() && (line[0] == 'S' || line[0] == 'F' || line[0] == 'P') &&
           isSubHeadSlow(line);
}

// A line whose first seven characters are "End Sub", exact case.
inline bool isSubEnd(std::string_view line) {
    return !line.empty() && line[0] == 'E' && line.starts_with("End Sub");
}

// The first line that starts at or after from and whose first byte can begin a
// head or an end (S, F, P or E), in a buffer whose every line ending is
// exactly lineEnding(breaks); content.size() when there is none. from must be
// a line start. Most lines are indented or start otherwise, so a walk that
// stops only at these lines skips most of a file.
std::size_t nextPossibleProcedureLine(std::string_view content, LineBreaks breaks,
                                      std::size_t from);

// The procedure name of a head line: the text after the first "Sub " whose
// length is the distance to the first "(" (or to position 0 when there is none),
// cut short at the end of the line. "Sub Main" thus gives "Main", "Sub " gives "".
std::string_view procedureName(std::string_view headLine);

// A line whose statement goes on in the next physical line (" _" at its end,
// after trailing blanks).
bool continuesOnNextLine(std::string_view line);

// A head whose code ends in ": End Sub" is a whole procedure on one line; a trap
// line after it would stand outside any procedure.
bool endsWithInlineSubEnd(std::string_view line);

} // namespace faultward

#pragma once

#include "rewrite/procedure_kind.h"
#include "rewrite/text_lines.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace faultward {

// The longest line the editor loads.
inline constexpr std::size_t kLongestSourceLine = 1023;

// A procedure head: a line whose first characters are one of the five
// prefixes of a chosen kind, exact case. The prefixes of a kind are its
// keyword ("Sub", "Function", "Property Get", "Property Let" or "Property
// Set") and a blank, alone or after "Friend ", "Static ", "Private " or
// "Public ".
struct ProcedureHead {
    ProcedureKind kind;
    std::string_view keyword;
    std::size_t nameStart; // just after the prefix
};

std::optional<ProcedureHead> procedureHeadSlow(std::string_view line, ProcedureKinds kinds);
inline std::optional<ProcedureHead> procedureHead(std::string_view line, ProcedureKinds kinds) {
    // Every prefix starts with S, F or P; most lines start with a blank.
    if (line.empty() || (line[0] != 'S' && line[0] != 'F' && line[0] != 'P'))
        return std::nullopt;
    return procedureHeadSlow(line, kinds);
}

// A head after blanks, which the language takes but the passes do not: they
// leave such a procedure alone, and say so. nameStart counts the blanks.
std::optional<ProcedureHead> indentedProcedureHeadSlow(std::string_view line, std::size_t indent,
                                                       ProcedureKinds kinds);
inline std::optional<ProcedureHead> indentedProcedureHead(std::string_view line,
                                                          ProcedureKinds kinds) {
    // Asked of every line outside procedures, a form's designer block among them.
    const std::size_t indent = leadingBlanks(line);
    if (indent == 0 || indent == line.size() ||
        (line[indent] != 'S' && line[indent] != 'F' && line[indent] != 'P'))
        return std::nullopt;
    return indentedProcedureHeadSlow(line, indent, kinds);
}

// A Sub head, the only kind the tool handled before kinds could be chosen.
inline bool isSubHead(std::string_view line) {
    return procedureHead(line, ProcedureKind::Sub).has_value();
}

// A line whose first characters are "End Sub", "End Function" or "End
// Property" for a chosen kind, exact case.
inline std::optional<ProcedureKind> procedureEnd(std::string_view line, ProcedureKinds kinds) {
    if (line.empty() || line[0] != 'E')
        return std::nullopt;
    for (const ProcedureKind kind :
         {ProcedureKind::Sub, ProcedureKind::Function, ProcedureKind::Property})
        if (kinds.has(kind) && line.starts_with(endStatement(kind)))
            return kind;
    return std::nullopt;
}

// The first line that starts at or after from and whose first byte can begin a
// head or an end (S, F, P or E), in a buffer whose every line ending is
// exactly lineEnding(breaks); content.size() when there is none. from must be
// a line start. Most lines are indented or start otherwise, so a walk that
// stops only at these lines skips most of a file.
std::size_t nextPossibleProcedureLine(std::string_view content, LineBreaks breaks,
                                      std::size_t from);

// The procedure name of a head line: the text starting at nameStart whose
// length is the distance to the first "(" (or to position 0 when there is
// none), cut short at the end of the line. "Sub Main" thus gives "Main", "Sub "
// gives "".
std::string_view procedureNameAt(std::string_view headLine, std::size_t nameStart);

// The name of a Sub head: procedureNameAt() from just after the first "Sub ".
std::string_view procedureName(std::string_view headLine);

// The part of a line before a comment apostrophe that is not inside a string
// literal.
std::string_view codePart(std::string_view line);

// A line whose statement goes on in the next physical line: a blank (space or
// tab) and an underscore at its end, before any trailing blanks.
bool continuesOnNextLine(std::string_view line);

// A head whose code ends in ": End Sub" (or the end of its kind) is a whole
// procedure on one line; a trap line after it would stand outside any procedure.
bool endsWithInlineEnd(std::string_view line, ProcedureKind kind);
inline bool endsWithInlineSubEnd(std::string_view line) {
    return endsWithInlineEnd(line, ProcedureKind::Sub);
}

} // namespace faultward

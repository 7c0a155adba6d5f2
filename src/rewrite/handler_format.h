#pragma once

#include "rewrite/handling_mode.h"
#include "rewrite/procedure_kind.h"
#include "rewrite/text_lines.h"

#include <string>
#include <string_view>

namespace faultward {

// Every line the tool adds ends with this comment; removal looks for nothing else.
inline constexpr std::string_view kMarker = "'~Faultward~";

// Whether a line holds the marker. Its tilde is looked for, which is rarer
// than its apostrophe, and inline: the passes ask it of every line.
inline bool lineHoldsMarker(std::string_view line) {
    static_assert(kMarker[1] == '~');
    for (std::size_t at = findByte(line.data(), 0, line.size(), '~'); at < line.size();
         at = findByte(line.data(), at + 1, line.size(), '~'))
        if (at > 0 && line.substr(at - 1).starts_with(kMarker))
            return true;
    return false;
}

// The Sub that mode 2 hands every error to; the developer writes it.
inline constexpr std::string_view kCentralHandlerName = "I_Process_Errors";

// Whether a procedure is the central handler, compared without regard to
// letter case as Visual Basic compares names. It gets no trap and no handler
// block of its own: a trap as its first statement would clear the error it is
// to report, and a handler calling it from inside it would never end.
bool isCentralHandler(std::string_view procedureName);

// The handler's label is this and the procedure's name.
inline constexpr std::string_view kLabelPrefix = "ERR_";

// The procedure's name without the type character it may end in (Nm$ is
// Nm): a label cannot carry one, and the name in the lines the tool writes
// is the same with or without.
std::string_view withoutTypeCharacter(std::string_view procedureName);

void appendTrapLine(std::string& out, std::string_view procedureName, std::string_view ending);
// The block before a procedure's end; it leaves the procedure with the exit
// statement of the end's kind, and deals with the error as the mode says.
void appendHandlerBlock(std::string& out, std::string_view procedureName, HandlingMode mode,
                        std::string_view ending, ProcedureKind kind = ProcedureKind::Sub);

// One marked line without its line ending, for tests and documentation.
std::string trapLine(std::string_view procedureName);

} // namespace faultward

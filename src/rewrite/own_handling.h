#pragma once

#include "rewrite/handler_format.h"
#include "rewrite/procedure_lines.h"

#include <string_view>

namespace faultward {

// Whether a line's code holds an On Error statement: the words On and Error
// (or On Local Error), in any letter case, outside string literals and comments.
bool holdsOnErrorStatement(std::string_view line);

// The On Error statements in the body of a procedure.
struct BodyTraps {
    bool own = false;    // one the developer wrote
    bool marked = false; // one the tool added
};

// Looks at the body of a procedure: the lines that nextLine(line) gives one
// by one (false at the end of what may be looked at), up to the next head or
// end of any kind. Procedures do not nest, so that is where the body ends,
// even when its own end is missing or not recognised.
template <typename NextLine> BodyTraps bodyTraps(NextLine&& nextLine) {
    BodyTraps traps;
    std::string_view line;
    while (nextLine(line)) {
        if (procedureEnd(line, kAllProcedureKinds) || procedureHead(line, kAllProcedureKinds))
            break;
        if (!holdsOnErrorStatement(line))
            continue;
        if (!lineHoldsMarker(line))
            traps.own = true;
        else
            traps.marked = true;
    }
    return traps;
}

} // namespace faultward

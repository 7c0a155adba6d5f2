#pragma once

#include "rewrite/procedure_kind.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace faultward {

// The lines a procedure spans, of any kind: from its head to its end line,
// or, when the next head or end line is not its end, to that end line or up
// to that head. This tool's marked lines are never a head or an end, so the
// trap after a head and the block before its end lie within.
struct ProcedureExtent {
    std::size_t head = 0; // line index, from 0
    std::size_t last = 0; // its last line
    ProcedureKind kind = ProcedureKind::Sub;
    std::string_view name;
};

// Every procedure of the lines, in file order.
std::vector<ProcedureExtent> procedureExtents(std::span<const std::string_view> lines);

} // namespace faultward

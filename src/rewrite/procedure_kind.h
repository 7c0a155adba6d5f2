#pragma once

#include "rewrite/kind_set.h"

#include <cstdint>
#include <string_view>

namespace faultward {

// The procedures a head line can open. Sub is what the tool has always
// handled; Function and Property (Get, Let and Set) are chosen on request.
enum class ProcedureKind : std::uint8_t { Sub = 1, Function = 2, Property = 4 };

using ProcedureKinds = KindSet<ProcedureKind>;
inline constexpr ProcedureKinds kAllProcedureKinds = {ProcedureKind::Sub, ProcedureKind::Function,
                                                      ProcedureKind::Property};

// "EXIT SUB", "EXIT FUNCTION" or "EXIT PROPERTY", in the capitals of the
// other added statements.
constexpr std::string_view exitStatement(ProcedureKind kind) {
    switch (kind) {
    case ProcedureKind::Function:
        return "EXIT FUNCTION";
    case ProcedureKind::Property:
        return "EXIT PROPERTY";
    default:
        return "EXIT SUB";
    }
}

// "End Sub", "End Function" or "End Property", as the editor writes it.
constexpr std::string_view endStatement(ProcedureKind kind) {
    switch (kind) {
    case ProcedureKind::Function:
        return "End Function";
    case ProcedureKind::Property:
        return "End Property";
    default:
        return "End Sub";
    }
}

} // namespace faultward

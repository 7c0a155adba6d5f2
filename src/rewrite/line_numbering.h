#pragma once

#include "rewrite/leave_list.h"
#include "rewrite/line_number_rule.h"
#include "rewrite/output_pieces.h"
#include "rewrite/procedure_kind.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// What numbering writes: the first number of every procedure, the step to
// the next, and which procedures.
struct NumberingOptions {
    int start = 10;
    int step = 10;
    ProcedureKinds procedures = ProcedureKind::Sub;
    // The procedures the project's own settings leave alone: numbering and
    // unnumbering keep them whole, and say nothing of them.
    std::shared_ptr<const LeaveList> leave;
    // Every number of the chosen procedures is taken for this tool's, the
    // user's too: numbering redoes them and unnumbering takes them out, and
    // each such procedure is named. A jump to a line number or a use of Erl
    // still leaves a procedure as it was: renumbering would change what its
    // code does.
    bool renumber = false;
};

// Why a procedure was left as it stood.
enum class LeftWholeReason {
    JumpTarget,    // a jump names a line number, which would go or move
    ErlComparison, // its code compares Erl with a line number
    UsersNumbers,  // its numbers are not what numbering writes, so they are the user's
    TooManyLines,  // its numbers would go past kHighestLineNumber
    OddNumber,     // a statement starts with a number not of the form written here
    LookAlike,     // a body line looks like a head or an end, so the end is unclear
    MissingEnd,    // no end line of its kind before the next head or end, or the file's end
    IndentedHead,  // its head is indented, which the passes do not take for a head
};

struct ProcedureLeftWhole {
    std::size_t line = 0; // of its head, counting from 1
    std::string keyword;  // "Sub", "Function", "Property Get", ...
    std::string name;
    LeftWholeReason reason = LeftWholeReason::MissingEnd;
    std::size_t detailLine = 0;                     // the line that is the cause, when there is one
    std::string target;                             // the number a jump names
    UsersNumbersSign sign = UsersNumbersSign::None; // why its numbers are the user's
};

// A procedure whose line numbers changed where it had numbers: renumbered
// with another start or step, or after lines added since, or with renumber,
// numbers taken over or taken out.
struct ProcedureRenumbered {
    std::size_t line = 0; // of its head, counting from 1
    std::string keyword;
    std::string name;
    std::size_t detailLine = 0; // the first line whose number changed
    std::string before;         // its number
    std::string after;          // its number now; empty when it has none
    bool unnumbered = false;    // every number was taken out
};

struct NumberingResult {
    // False when the output would hold exactly the bytes of the input.
    bool changed = false;
    std::vector<ProcedureLeftWhole> leftWhole;
    std::vector<ProcedureRenumbered> renumbered;
};

// Appends the file to out with the body lines of every procedure of the
// chosen kinds numbered afresh: a number and one space before each line that
// may carry one, the numbers it had taken out first. Only numbers of this
// tool's own shape are redone: a procedure holding the user's numbers, or
// comparing Erl with a number, is left whole. Lines outside procedures, and
// the bytes of every line, stay as they are. entry is the file's entry, which
// options.leave names.
NumberingResult numberLines(std::string_view content, const NumberingOptions& options,
                            OutputPieces& out, std::string_view entry = {});

// Appends the file to out with the line numbers of the procedures of the
// chosen kinds taken out, each with the one space after it; procedures whose
// numbers are the user's, or whose code compares Erl with a number, keep them.
NumberingResult unnumberLines(std::string_view content, const NumberingOptions& options,
                              OutputPieces& out, std::string_view entry = {});
NumberingResult unnumberLines(std::string_view content, ProcedureKinds procedures,
                              OutputPieces& out);

// Whose line numbers a procedure holds, by the line of its head (counting
// from 1), judged as numbering and unnumbering judge them.
struct ProcedureNumbering {
    std::size_t line = 0;
    LineNumbering numbering = LineNumbering::None;
};

// Every procedure of the chosen kinds with a body, in file order.
std::vector<ProcedureNumbering> procedureNumberings(std::string_view content,
                                                    ProcedureKinds procedures);
// The same from the file's lines, without their endings, as LineCursor gives
// them.
std::vector<ProcedureNumbering> procedureNumberings(std::span<const std::string_view> lines,
                                                    ProcedureKinds procedures);

// "Module1.bas:12: Sub Post left as it was: line 30 jumps to line number 100"
std::string leftWholeMessage(std::string_view entry, const ProcedureLeftWhole& procedure);
// "Module1.bas:12: Sub Post renumbered: line 14 had 1, now 10", "Module1.bas:12:
// Sub Post unnumbered: line 14 had 1"
std::string renumberedMessage(std::string_view entry, const ProcedureRenumbered& procedure);

} // namespace faultward

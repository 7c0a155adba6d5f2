#pragma once

#include "rewrite/insertion_options.h"
#include "rewrite/line_number_rule.h"
#include "rewrite/procedure_body.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// A procedure of a file, found by the same head rules as insertion's.
struct SurveyedProcedure {
    std::size_t line = 0; // of its head, counting from 1
    std::string keyword;  // "Sub", "Function", "Property Get", ...
    std::string name;
    bool trapped = false; // its body holds an On Error statement, marked or not
    // Its lines, from head to end line, hold lines this tool wrote.
    bool marked = false;
    // Why insertion with the survey's options gives it no trap, if it does
    // not; a procedure the options' leave list names is Listed first.
    LeftAlone leftAlone = LeftAlone::No;
    ProcedureKind kind = ProcedureKind::Sub;
    // Whose line numbers it holds, as numbering judges them.
    LineNumbering numbering = LineNumbering::None;
};

// What a file holds of the tool's work.
struct FileSurvey {
    std::vector<std::size_t> markedLines; // counting from 1
    // The central handler is left out: it must have no trap.
    std::vector<SurveyedProcedure> procedures;
    // Procedures holding a line number.
    std::size_t numberedProcedures = 0;
};

// The procedures of the chosen kinds and what insertion with the same
// options would do with them.
FileSurvey surveyFile(std::string_view content, const InsertionOptions& options,
                      const SourceFacts& facts = {});

} // namespace faultward

#pragma once

#include "rewrite/procedure_survey.h"

#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// What a procedure of a file holds and what insertion does with it, as the
// desktop's list shows it under its file and check --format json gives it.
struct ProcedureRecord {
    std::size_t line = 0;
    std::string kind; // "Sub", "Function", "Property Get", ...
    std::string name;
    enum class Handler { None, Tools, Own } handler = Handler::None;
    std::string leftAlone; // why insertion leaves it alone; empty when it does not
    bool listed = false;   // the project's [Leave] names it
    LineNumbering numbers = LineNumbering::None;
};

// The records of a file surveyed with the project's leave list in its options.
std::vector<ProcedureRecord> procedureRecords(const FileSurvey& survey);

// "has a handler", "handles its own errors", "left alone: one-line", "no
// handler", for the list; then "; numbered" or "; holds line numbers of its
// own" when it holds any.
std::string procedureStateText(const ProcedureRecord& record);

// One JSON object a procedure, in an array, UTF-8:
// {"file": "Tools.bas", "line": 2, "kind": "Sub", "name": "Run",
//  "state": "no-handler", "reason": null, "numbers": "none"}
// state is "handler" (this tool's), "own-handler", "no-handler" or
// "left-alone" (with the reason); numbers is "none", "tool" (numbers as
// number writes them) or "user".
// The array is printed as the files come: items() gives a file's objects,
// end() what closes the array.
class ProcedureJson {
public:
    std::string items(std::string_view entry, const std::vector<ProcedureRecord>& records);
    // A file whose procedures were not looked at, in one object:
    // {"file": "Old.bas", "line": null, "kind": null, "name": null,
    //  "state": "left-alone", "reason": "listed in [Leave]", "numbers": null}
    // state "left-alone" for a file the [Leave] list leaves whole, "missing"
    // for one not found, "unreadable" for one that could not be read.
    std::string fileItem(std::string_view entry, std::string_view state, std::string_view reason);
    std::string end() const;

private:
    bool begun_ = false;
};

} // namespace faultward

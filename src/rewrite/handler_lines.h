#pragma once

#include "rewrite/insertion_options.h"
#include "rewrite/procedure_body.h"

#include <string>
#include <string_view>

namespace faultward {

// The name in a file's Attribute VB_Name line; empty when it has none.
std::string_view moduleName(std::string_view content);

// Writes the marked lines into one file: the handling mode's, or a template's
// with the values of the file and the procedure.
class HandlerLines {
public:
    // options and facts must outlive the object; content is read once here.
    HandlerLines(const InsertionOptions& options, const SourceFacts& facts,
                 std::string_view content);

    // The lines after a head of the given kind.
    void trap(std::string& out, const InsertionState& state, ProcedureKind kind,
              std::string_view ending) const;
    // The lines before an end of the given kind.
    void block(std::string& out, const InsertionState& state, ProcedureKind kind,
               std::string_view ending) const;

    // The labels the lines for a procedure define, and whether they fit.
    HandlerFit fit(const InsertionState& state, ProcedureKind kind) const;

private:
    TemplateValues values(const InsertionState& state, ProcedureKind kind) const;

    const InsertionOptions& options_;
    const SourceFacts& facts_;
    std::string_view module_;
};

} // namespace faultward

#include "rewrite/procedure_survey.h"

#include "rewrite/handler_format.h"
#include "rewrite/handler_lines.h"
#include "rewrite/line_numbering.h"
#include "rewrite/own_handling.h"
#include "rewrite/procedure_extents.h"
#include "rewrite/procedure_lines.h"
#include "rewrite/text_lines.h"
#include "rewrite/transforms.h"

#include <algorithm>

namespace faultward {
namespace {

// Whether a marked line lies in the procedure's extent (after its head, up
// to its last line); both lists are in file order.
void findMarkedProcedures(std::span<const std::string_view> lines,
                          const std::vector<std::size_t>& markedLines,
                          std::vector<SurveyedProcedure>& procedures) {
    if (markedLines.empty())
        return;
    auto procedure = procedures.begin();
    for (const ProcedureExtent& extent : procedureExtents(lines)) {
        while (procedure != procedures.end() && procedure->line < extent.head + 1)
            ++procedure;
        if (procedure == procedures.end())
            return;
        if (procedure->line != extent.head + 1)
            continue;
        // Marked lines count from 1: those after the head are above head + 1.
        const auto after =
            std::upper_bound(markedLines.begin(), markedLines.end(), extent.head + 1);
        procedure->marked = after != markedLines.end() && *after <= extent.last + 1;
    }
}

} // namespace

FileSurvey surveyFile(std::string_view content, const InsertionOptions& options,
                      const SourceFacts& facts) {
    std::vector<std::string_view> lines;
    LineCursor cursor(content);
    std::string_view text;
    while (cursor.next(text))
        lines.push_back(text);

    FileSurvey survey;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(kMarker) != std::string_view::npos)
            survey.markedLines.push_back(i + 1);

    const HandlerLines handlers(options, facts, content);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<ProcedureHead> head = procedureHead(lines[i], options.procedures);
        if (!head) {
            // Counted, so that check does not pass over it in silence.
            if (const auto indented = indentedProcedureHead(lines[i], options.procedures)) {
                SurveyedProcedure procedure{
                    i + 1, std::string(indented->keyword),
                    std::string(procedureNameAt(lines[i], indented->nameStart))};
                procedure.kind = indented->kind;
                procedure.leftAlone = listedIn(options, facts).names(procedure.name)
                                          ? LeftAlone::Listed
                                          : LeftAlone::IndentedHead;
                survey.procedures.push_back(std::move(procedure));
            }
            continue;
        }
        SurveyedProcedure procedure{i + 1, std::string(head->keyword),
                                    std::string(procedureNameAt(lines[i], head->nameStart))};
        procedure.kind = head->kind;
        while (continuesOnNextLine(lines[i]) && i + 1 < lines.size())
            ++i;
        if (isCentralHandler(procedure.name))
            continue;
        if (endsWithInlineEnd(lines[i], head->kind)) {
            procedure.trapped = holdsOnErrorStatement(lines[i]);
            procedure.leftAlone = LeftAlone::OneLine;
        } else {
            // Insertion looks no further than its line limit.
            const std::size_t limit = std::min(lines.size(), kInsertionLineLimit);
            std::size_t next = i + 1;
            const InsertionState state{procedure.name};
            const HandlerFit fit = handlers.fit(state, head->kind);
            const ProcedureBody body = scanProcedureBody(
                [&](std::string_view& line) {
                    if (next >= limit)
                        return false;
                    line = lines[next++];
                    return true;
                },
                head->kind, fit.labels, true);
            procedure.trapped = body.traps.own || body.traps.marked;
            procedure.leftAlone = verdictOn(body, fit, options);
        }
        if (listedIn(options, facts).names(procedure.name))
            procedure.leftAlone = LeftAlone::Listed;
        survey.procedures.push_back(std::move(procedure));
    }
    findMarkedProcedures(lines, survey.markedLines, survey.procedures);
    // Both lists are in file order.
    auto surveyed = survey.procedures.begin();
    for (const ProcedureNumbering& numbered : procedureNumberings(content, options.procedures)) {
        survey.numberedProcedures += numbered.numbering != LineNumbering::None;
        while (surveyed != survey.procedures.end() && surveyed->line < numbered.line)
            ++surveyed;
        if (surveyed != survey.procedures.end() && surveyed->line == numbered.line)
            surveyed->numbering = numbered.numbering;
    }
    return survey;
}

} // namespace faultward

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

// The lines holding the marker, counting from 1, found from the marker's
// tildes in the whole buffer rather than line by line. The marker holds no
// line break, so each lies in one line's text.
std::vector<std::size_t> markedLinesOf(std::string_view content,
                                       std::span<const std::string_view> lines) {
    static_assert(kMarker[1] == '~');
    std::vector<std::size_t> marked;
    std::size_t line = 0;
    for (std::size_t at = findByte(content.data(), 1, content.size(), '~');
         at < content.size() && line < lines.size();
         at = findByte(content.data(), at + 1, content.size(), '~')) {
        if (content.compare(at - 1, kMarker.size(), kMarker) != 0)
            continue;
        const char* end = content.data() + at - 1 + kMarker.size();
        while (line < lines.size() && lines[line].data() + lines[line].size() < end)
            ++line;
        if (line < lines.size() && (marked.empty() || marked.back() != line + 1))
            marked.push_back(line + 1);
    }
    return marked;
}

} // namespace

FileSurvey surveyFile(std::string_view content, const InsertionOptions& options,
                      const SourceFacts& facts) {
    std::vector<std::string_view> lines;
    lines.reserve(countByte(content, '\n') + 1);
    LineCursor cursor(content);
    std::string_view text;
    bool numbersMayStand = false; // a line starts with a digit
    while (cursor.next(text)) {
        lines.push_back(text);
        numbersMayStand = numbersMayStand || mayHoldLineNumber(text);
    }

    FileSurvey survey;
    survey.markedLines = markedLinesOf(content, lines);

    const HandlerLines handlers(options, facts, content);
    InsertionState state; // its name's buffer kept from one procedure to the next
    ScannedStretches scanned;
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
            state.name = procedure.name;
            const HandlerFit fit = handlers.fit(state, head->kind);
            const ProcedureBody body = scanProcedureBody(
                [&](std::string_view& line) {
                    if (next >= limit)
                        return false;
                    line = lines[next++];
                    return true;
                },
                head->kind, fit.labels, true, &scanned);
            procedure.trapped = body.traps.own || body.traps.marked;
            procedure.leftAlone = verdictOn(body, fit, options);
        }
        if (listedIn(options, facts).names(procedure.name))
            procedure.leftAlone = LeftAlone::Listed;
        survey.procedures.push_back(std::move(procedure));
    }
    findMarkedProcedures(lines, survey.markedLines, survey.procedures);
    // A file without a digit where a line number could stand holds none.
    if (!numbersMayStand)
        return survey;
    // Both lists are in file order. Only the procedures counted are counted
    // as numbered (not the central handler, which numbering does number).
    auto surveyed = survey.procedures.begin();
    for (const ProcedureNumbering& numbered : procedureNumberings(lines, options.procedures)) {
        while (surveyed != survey.procedures.end() && surveyed->line < numbered.line)
            ++surveyed;
        if (surveyed != survey.procedures.end() && surveyed->line == numbered.line) {
            surveyed->numbering = numbered.numbering;
            survey.numberedProcedures += numbered.numbering != LineNumbering::None;
        }
    }
    return survey;
}

} // namespace faultward

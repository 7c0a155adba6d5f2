#include "rewrite/procedure_survey.h"

#include "rewrite/handler_format.h"
#include "rewrite/line_numbering.h"
#include "rewrite/own_handling.h"
#include "rewrite/procedure_lines.h"
#include "rewrite/text_lines.h"

namespace faultward {

FileSurvey surveyFile(std::string_view content, ProcedureKinds kinds) {
    std::vector<std::string_view> lines;
    LineCursor cursor(content);
    std::string_view text;
    while (cursor.next(text))
        lines.push_back(text);

    FileSurvey survey;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(kMarker) != std::string_view::npos)
            survey.markedLines.push_back(i + 1);

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<ProcedureHead> head = procedureHead(lines[i], kinds);
        if (!head)
            continue;
        SurveyedProcedure procedure{i + 1, std::string(head->keyword),
                                    std::string(procedureNameAt(lines[i], head->nameStart))};
        while (continuesOnNextLine(lines[i]) && i + 1 < lines.size())
            ++i;
        if (isCentralHandler(procedure.name))
            continue;
        if (endsWithInlineEnd(lines[i], head->kind)) {
            procedure.trapped = holdsOnErrorStatement(lines[i]);
        } else {
            std::size_t next = i + 1;
            const BodyTraps traps = bodyTraps([&](std::string_view& line) {
                if (next >= lines.size())
                    return false;
                line = lines[next++];
                return true;
            });
            procedure.trapped = traps.own || traps.marked;
        }
        survey.procedures.push_back(std::move(procedure));
    }
    survey.numberedProcedures = numberedProcedureCount(content, kinds);
    return survey;
}

} // namespace faultward

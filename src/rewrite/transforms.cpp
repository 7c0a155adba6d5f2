#include "transforms.h"

#include "handler_format.h"
#include "procedure_lines.h"
#include "text_lines.h"

namespace faultward {

InsertionResult insertHandlers(std::string_view content, int mode, std::string& currentName,
                               std::string& out) {
    const LineBreaks breaks = detectLineBreaks(content);
    const std::string_view ending = lineEnding(breaks);
    LineCursor cursor(content, breaks);
    InsertionResult result;
    std::size_t count = 0;
    std::string_view line;

    while (count < kInsertionLineLimit && cursor.next(line)) {
        ++count;
        if (isSubEnd(line)) {
            appendHandlerBlock(out, currentName, mode, ending);
            appendLine(out, line, ending);
            continue;
        }
        appendLine(out, line, ending);
        if (!isSubHead(line))
            continue;
        currentName.assign(procedureName(line));
        // A head continued over several lines gets its trap after the last of them.
        bool complete = true;
        while (continuesOnNextLine(line)) {
            if (count >= kInsertionLineLimit || !cursor.next(line)) {
                complete = false;
                break;
            }
            ++count;
            appendLine(out, line, ending);
        }
        if (complete && !endsWithInlineSubEnd(line))
            appendTrapLine(out, currentName, ending);
    }

    if (!cursor.remaining().empty()) {
        result.lineLimitExceeded = true;
        while (cursor.next(line))
            appendLine(out, line, ending);
    }
    return result;
}

void removeMarkedLines(std::string_view content, std::string& out) {
    const LineBreaks breaks = detectLineBreaks(content);
    const std::string_view ending = lineEnding(breaks);
    LineCursor cursor(content, breaks);
    std::string_view line;
    while (cursor.next(line))
        if (line.find(kMarker) == std::string_view::npos)
            appendLine(out, line, ending);
}

} // namespace faultward

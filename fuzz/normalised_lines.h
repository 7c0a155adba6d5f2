#pragma once

#include "rewrite/text_lines.h"

#include <string>
#include <string_view>

// The bytes a file holds once every line has been written back with its
// proper ending: what a pass that changes no line still gives.
inline std::string normalised(std::string_view content) {
    using namespace faultward;
    const LineBreaks breaks = detectLineBreaks(content);
    LineCursor cursor(content, breaks);
    std::string out;
    std::string_view line;
    while (cursor.next(line))
        appendLine(out, line, lineEnding(breaks));
    return out;
}

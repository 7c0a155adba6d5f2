#pragma once

#include "rewrite/text_lines.h"

#include <string>
#include <string_view>
#include <vector>

// The bytes a file holds once every line has been written back with the
// usual ending of its kind of file.
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

// The lines of a file without their endings.
inline std::vector<std::string_view> lineTexts(std::string_view content) {
    faultward::LineCursor cursor(content);
    std::vector<std::string_view> lines;
    std::string_view line;
    while (cursor.next(line))
        lines.push_back(line);
    return lines;
}

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace faultward {

// How a file's lines are broken. Files from Windows end lines with a carriage
// return (an optional line feed after it is swallowed, a lone line feed is an
// ordinary character). A file with no carriage return at all but with line
// feeds comes from a Unix checkout: its lines end at line feeds and are written
// back with line feeds, so checking it out again does not show every line changed.
enum class LineBreaks { CarriageReturn, LineFeed };

LineBreaks detectLineBreaks(std::string_view content);

// The bytes written after every line of a file with the given line breaks.
std::string_view lineEnding(LineBreaks breaks);

// Walks the lines of a buffer without copying them. The last line needs no
// terminator; an empty buffer has no lines.
class LineCursor {
public:
    LineCursor(std::string_view content, LineBreaks breaks) : rest_(content), breaks_(breaks) {}
    explicit LineCursor(std::string_view content)
        : LineCursor(content, detectLineBreaks(content)) {}

    bool next(std::string_view& line);
    // The bytes not yet consumed by next().
    std::string_view remaining() const { return rest_; }

private:
    std::string_view rest_;
    LineBreaks breaks_;
};

// Appends line plus the line ending to out.
inline void appendLine(std::string& out, std::string_view line, std::string_view ending) {
    out.append(line);
    out.append(ending);
}

} // namespace faultward

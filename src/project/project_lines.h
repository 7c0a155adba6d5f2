#pragma once

#include <string_view>

namespace faultward {

// Walks the lines of a project or group file. These files are edited by hand
// and by tools of either system, which leave lone line feeds among CR LF
// lines; an entry must never swallow the next one, so a line ends at a
// carriage return, a line feed, or the pair. The last line needs no
// terminator; an empty text has no lines.
class ProjectLines {
public:
    explicit ProjectLines(std::string_view text) : rest_(text) {}

    bool next(std::string_view& line);

private:
    std::string_view rest_;
};

} // namespace faultward

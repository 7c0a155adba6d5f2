#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace faultward {

// What a line of a report is, for the windows to set it apart.
enum class ReportLineKind : std::uint8_t {
    Plain,      // context, a check's procedure lines, blank lines, anything else
    Added,      // "+..." within a hunk
    Removed,    // "-..." within a hunk
    FileHeader, // "--- a/...", "+++ b/...", "folder: ...", "project: ..."
    Hunk,       // "@@ -1,3 +1,5 @@"
    Count,      // "ENTRY: +A -R", "no file would change", a check's summary of a file
};

// The lines of one report's text, found in one walk and kept as offsets into
// that text, so a window holds the bytes once and reaches any line at once.
// A line ends at a line feed, a carriage return and line feed, or a lone
// carriage return, the break itself being no part of it; the text has one
// line more than it has breaks, so a text ending in a break ends with an
// empty line, as a text box shows it.
class ReportLines {
public:
    struct Line {
        std::size_t start = 0;
        std::size_t length = 0;
        ReportLineKind kind = ReportLineKind::Plain;
    };

    // The lines of a preview or check report, each with its kind. Within a
    // hunk the header's counts say which lines belong to it, so a removed
    // line that reads "--- x" is a removed line, not a header.
    static ReportLines ofReport(std::string_view text);
    // The lines of any other text, every one plain.
    static ReportLines ofPlainText(std::string_view text);

    std::size_t size() const { return lines_.size(); }
    const Line& operator[](std::size_t line) const { return lines_[line]; }
    std::string_view text(std::string_view all, std::size_t line) const {
        return all.substr(lines_[line].start, lines_[line].length);
    }
    // The length of the longest line, in bytes.
    std::size_t longest() const { return longest_; }

private:
    std::vector<Line> lines_;
    std::size_t longest_ = 0;
};

} // namespace faultward

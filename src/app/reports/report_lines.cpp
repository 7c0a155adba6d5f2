#include "app/reports/report_lines.h"

#include "rewrite/text_lines.h"

#include <algorithm>
#include <cstring>

namespace faultward {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the digits at text[at], moving past them; false when there are none.
bool readNumber(std::string_view text, std::size_t& at, std::size_t& number) {
    const std::size_t start = at;
    number = 0;
    for (; at < text.size() && isDigit(text[at]); ++at)
        number = std::min<std::size_t>(number * 10 + static_cast<std::size_t>(text[at] - '0'),
                                       std::size_t(1) << 40);
    return at > start;
}

bool readWord(std::string_view text, std::size_t& at, std::string_view word) {
    if (text.substr(at, word.size()) != word)
        return false;
    at += word.size();
    return true;
}

// "-1,3" or "+4": a hunk side's start and count (one when it is left out).
bool readRange(std::string_view text, std::size_t& at, char sign, std::size_t& count) {
    std::size_t start = 0;
    if (at >= text.size() || text[at++] != sign || !readNumber(text, at, start))
        return false;
    count = 1;
    if (at < text.size() && text[at] == ',') {
        ++at;
        return readNumber(text, at, count);
    }
    return true;
}

// "@@ -1,3 +1,5 @@": how many lines of each side follow.
bool readHunkHeader(std::string_view line, std::size_t& before, std::size_t& after) {
    std::size_t at = 0;
    return readWord(line, at, "@@ ") && readRange(line, at, '-', before) &&
           readWord(line, at, " ") && readRange(line, at, '+', after) && readWord(line, at, " @@");
}

// A dry run's "ENTRY: +3 -1".
bool isChangeCount(std::string_view line) {
    std::size_t end = line.size();
    const auto digitsBefore = [&](std::size_t& at) {
        const std::size_t last = at;
        while (at > 0 && isDigit(line[at - 1]))
            --at;
        return at < last;
    };
    if (!digitsBefore(end) || end < 2 || line.substr(end - 2, 2) != " -")
        return false;
    end -= 2;
    return digitsBefore(end) && end >= 3 && line.substr(end - 3, 3) == ": +";
}

// A check's "ENTRY: 4 procedures, 1 without a trap...": the entry is the
// one part a person wrote, so the words after it are looked for at each
// ": " in turn.
bool isCheckSummary(std::string_view line) {
    for (std::size_t colon = line.find(": "); colon != std::string_view::npos;
         colon = line.find(": ", colon + 1)) {
        std::size_t at = colon + 2, number = 0;
        if (!readNumber(line, at, number) || !readWord(line, at, " procedure"))
            continue;
        readWord(line, at, "s");
        if (readWord(line, at, ", ") && readNumber(line, at, number) &&
            readWord(line, at, " without a trap"))
            return true;
    }
    return false;
}

// The kinds of a report's lines, one line feed's line at a time: counts
// come first, up to the first empty line, then the differences.
class Classifier {
public:
    ReportLineKind kindOf(std::string_view line) {
        if (before_ > 0 || after_ > 0) {
            const char first = line.empty() ? '\0' : line[0];
            if (first == ' ' && before_ > 0 && after_ > 0) {
                --before_;
                --after_;
                return ReportLineKind::Plain;
            }
            if (first == '-' && before_ > 0) {
                --before_;
                return ReportLineKind::Removed;
            }
            if (first == '+' && after_ > 0) {
                --after_;
                return ReportLineKind::Added;
            }
            if (first == '\\')
                return ReportLineKind::Plain;
            // Not the hunk its header promised: read on as outside one.
            before_ = after_ = 0;
        }
        if (line.empty()) {
            inCounts_ = false;
            return ReportLineKind::Plain;
        }
        if (inCounts_ &&
            (isChangeCount(line) || line == "no file would change" || isCheckSummary(line)))
            return ReportLineKind::Count;
        if (line.starts_with("project: ") || line.starts_with("folder: "))
            return ReportLineKind::FileHeader;
        if (inCounts_)
            return ReportLineKind::Plain;
        if (line.starts_with("--- ") || line.starts_with("+++ "))
            return ReportLineKind::FileHeader;
        if (readHunkHeader(line, before_, after_))
            return ReportLineKind::Hunk;
        return ReportLineKind::Plain;
    }

private:
    bool inCounts_ = true;
    std::size_t before_ = 0;
    std::size_t after_ = 0;
};

// The first byte of [from, to) of data; an empty range finds none, so an
// empty text, whose data may be null, never reaches memchr.
const char* findByte(const char* data, std::size_t from, std::size_t to, char byte) {
    return from < to ? static_cast<const char*>(std::memchr(data + from, byte, to - from))
                     : nullptr;
}

template <typename KindOf>
void splitLines(std::string_view text, KindOf kindOf, std::vector<ReportLines::Line>& lines,
                std::size_t& longest) {
    // Room for every line at once: a report's lines run to the hundred
    // thousands, and growing would copy them again and again.
    lines.reserve(countByte(text, '\n') + 1);
    const char* const data = text.data();
    std::size_t start = 0;
    for (;;) {
        const char* feed = findByte(data, start, text.size(), '\n');
        const std::size_t end = feed ? static_cast<std::size_t>(feed - data) : text.size();
        // The carriage return of a CR LF pair belongs to the break.
        const std::size_t contentEnd = feed && end > start && data[end - 1] == '\r' ? end - 1 : end;
        const ReportLineKind kind = kindOf(text.substr(start, contentEnd - start));
        // A lone carriage return breaks the line too; the pieces keep its kind.
        std::size_t piece = start;
        for (;;) {
            const char* ret = findByte(data, piece, contentEnd, '\r');
            const std::size_t pieceEnd = ret ? static_cast<std::size_t>(ret - data) : contentEnd;
            lines.push_back({piece, pieceEnd - piece, kind});
            longest = std::max(longest, pieceEnd - piece);
            if (!ret)
                break;
            piece = pieceEnd + 1;
        }
        if (!feed)
            break;
        start = end + 1;
    }
}

} // namespace

ReportLines ReportLines::ofReport(std::string_view text) {
    ReportLines lines;
    Classifier classifier;
    splitLines(
        text, [&](std::string_view line) { return classifier.kindOf(line); }, lines.lines_,
        lines.longest_);
    return lines;
}

ReportLines ReportLines::ofPlainText(std::string_view text) {
    ReportLines lines;
    splitLines(
        text, [](std::string_view) { return ReportLineKind::Plain; }, lines.lines_, lines.longest_);
    return lines;
}

} // namespace faultward

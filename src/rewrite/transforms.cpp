#include "rewrite/transforms.h"

#include "rewrite/handler_format.h"
#include "rewrite/procedure_lines.h"
#include "rewrite/text_lines.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace faultward {
namespace {

// Writes lines to the output. Lines that already end the way they will be
// written are not handled one by one: the writer keeps a run of such input and
// hands it over whole when something else must be written, or at the end.
class LineWriter {
public:
    LineWriter(const char* content, LineBreaks breaks, OutputPieces& out)
        : ending_(lineEnding(breaks)), out_(out), runStart_(content), runEnd_(content) {}

    std::string_view ending() const { return ending_; }

    void line(std::string_view line, bool endedCanonically) {
        if (!endedCanonically) {
            flush();
            changed_ = true;
            appendLine(out_.added(), line, ending_);
            return;
        }
        if (line.data() != runEnd_) {
            flush();
            runStart_ = line.data();
        }
        runEnd_ = line.data() + line.size() + ending_.size();
    }
    // Leaves a line out of the output.
    void skip() {
        flush();
        changed_ = true;
    }
    // Inserted text goes after everything written so far.
    std::string& insertion() {
        flush();
        changed_ = true;
        return out_.added();
    }
    // Whether the output differs from the input.
    bool finish() {
        flush();
        return changed_;
    }

private:
    void flush() {
        out_.keep(std::string_view(runStart_, static_cast<std::size_t>(runEnd_ - runStart_)));
        runStart_ = runEnd_;
    }

    std::string_view ending_;
    OutputPieces& out_;
    bool changed_ = false;
    const char* runStart_;
    const char* runEnd_;
};

// Where the marker next starts at or after from, or npos. The search is for
// its tilde rather than its apostrophe: comments make apostrophes common in
// this code, and every false start costs, while a tilde is rare.
std::size_t findMarker(std::string_view text, std::size_t from) {
    static_assert(kMarker[1] == '~');
    const char* const bytes = text.data();
    for (std::size_t at = from + 1; at < text.size(); ++at) {
        at = findByte(bytes, at, text.size(), '~');
        if (text.size() - (at - 1) < kMarker.size())
            break;
        if (std::memcmp(bytes + at - 1, kMarker.data(), kMarker.size()) == 0)
            return at - 1;
    }
    return std::string_view::npos;
}

// Removal on a buffer whose line breaks need no change: only the lines that
// hold the marker are looked at, found from the marker outwards.
TransformResult removeFromCanonical(std::string_view content, LineBreaks breaks,
                                    OutputPieces& out) {
    const char terminator = breaks == LineBreaks::LineFeed ? '\n' : '\r';
    const std::size_t endingSize = lineEnding(breaks).size();
    TransformResult result;
    std::size_t kept = 0; // start of the input not yet copied
    for (std::size_t marker = findMarker(content, 0); marker != std::string_view::npos;
         marker = findMarker(content, kept)) {
        const std::size_t before = findLastByte(content.data(), kept, marker, terminator);
        const std::size_t lineStart = before == std::string_view::npos ? kept : before + endingSize;
        // The lines this program writes end with the marker, which spares a search.
        std::size_t lineEnd = marker + kMarker.size();
        if (lineEnd == content.size() || content[lineEnd] != terminator)
            lineEnd = findByte(content.data(), marker, content.size(), terminator);
        lineEnd = std::min(lineEnd + endingSize, content.size());
        out.keep(content.substr(kept, lineStart - kept));
        kept = lineEnd;
        result.changed = true;
    }
    if (result.changed)
        out.keep(content.substr(kept));
    return result;
}

// What insertion puts at a line.
enum class Insertion { Nothing, HandlerBlockBefore, TrapLineAfter };

// The insertion rule for one line, shared by both walks through a file. A head
// continued over several lines gets its trap after the last of them:
// nextLine(line) moves line on to the next line, or returns false at the end
// of what may be looked at. line is left at the last line the rule took.
template <typename NextLine>
Insertion insertionAt(std::string_view& line, std::string& currentName, NextLine&& nextLine) {
    if (isSubEnd(line))
        return isCentralHandler(currentName) ? Insertion::Nothing : Insertion::HandlerBlockBefore;
    if (!isSubHead(line))
        return Insertion::Nothing;
    currentName.assign(procedureName(line));
    while (continuesOnNextLine(line))
        if (!nextLine(line))
            return Insertion::Nothing;
    if (endsWithInlineSubEnd(line) || isCentralHandler(currentName))
        return Insertion::Nothing;
    return Insertion::TrapLineAfter;
}

// Whether the buffer's lines all end with exactly lineEnding(breaks) and are
// no more than insertion may look at, so that insertInRuns() can handle it.
bool suitsRuns(std::string_view content, LineBreaks breaks) {
    const std::optional<std::size_t> lines = canonicalLineCount(content, breaks);
    return lines && *lines <= kInsertionLineLimit;
}

// Insertion on a buffer that suitsRuns(): only the lines that can be heads or
// ends are looked at, with the same rules as line by line, and the text
// between them is kept in runs as it stands.
TransformResult insertInRuns(std::string_view content, LineBreaks breaks, int mode,
                             std::string& currentName, OutputPieces& out) {
    const std::string_view ending = lineEnding(breaks);
    const char terminator = ending.front();
    // Line [start, end) and the start of the line after it.
    const auto lineFrom = [&](std::size_t start, std::string_view& line) {
        const std::size_t end = findByte(content.data(), start, content.size(), terminator);
        line = content.substr(start, end - start);
        return start + line.size() + ending.size();
    };
    TransformResult result;
    std::size_t kept = 0; // start of the input not yet kept
    std::size_t start = 0;
    while ((start = nextPossibleProcedureLine(content, breaks, start)) < content.size()) {
        std::string_view line;
        std::size_t next = lineFrom(start, line);
        const Insertion insertion = insertionAt(line, currentName, [&](std::string_view& line) {
            if (next == content.size())
                return false;
            next = lineFrom(next, line);
            return true;
        });
        if (insertion == Insertion::HandlerBlockBefore) {
            out.keep(content.substr(kept, start - kept));
            kept = start;
            appendHandlerBlock(out.added(), currentName, mode, ending);
            result.changed = true;
        } else if (insertion == Insertion::TrapLineAfter) {
            out.keep(content.substr(kept, next - kept));
            kept = next;
            appendTrapLine(out.added(), currentName, ending);
            result.changed = true;
        }
        start = next;
    }
    out.keep(content.substr(kept));
    return result;
}

} // namespace

TransformResult insertHandlers(std::string_view content, int mode, std::string& currentName,
                               OutputPieces& out) {
    const LineBreaks breaks = detectLineBreaks(content);
    if (suitsRuns(content, breaks))
        return insertInRuns(content, breaks, mode, currentName, out);
    LineWriter writer(content.data(), breaks, out);
    LineCursor cursor(content, breaks);
    TransformResult result;
    std::size_t count = 0;
    std::string_view line;

    while (count < kInsertionLineLimit && cursor.next(line)) {
        ++count;
        const Insertion insertion = insertionAt(line, currentName, [&](std::string_view& line) {
            if (count >= kInsertionLineLimit)
                return false;
            const bool endedCanonically = cursor.endedCanonically();
            const std::string_view previous = line;
            if (!cursor.next(line))
                return false;
            ++count;
            writer.line(previous, endedCanonically);
            return true;
        });
        if (insertion == Insertion::HandlerBlockBefore)
            appendHandlerBlock(writer.insertion(), currentName, mode, writer.ending());
        writer.line(line, cursor.endedCanonically());
        if (insertion == Insertion::TrapLineAfter)
            appendTrapLine(writer.insertion(), currentName, writer.ending());
    }

    if (!cursor.remaining().empty()) {
        result.lineLimitExceeded = true;
        while (cursor.next(line))
            writer.line(line, cursor.endedCanonically());
    }
    result.changed = writer.finish();
    return result;
}

TransformResult removeMarkedLines(std::string_view content, OutputPieces& out) {
    const LineBreaks breaks = detectLineBreaks(content);
    if (isCanonical(content, breaks))
        return removeFromCanonical(content, breaks, out);
    LineWriter writer(content.data(), breaks, out);
    LineCursor cursor(content, breaks);
    std::string_view line;
    while (cursor.next(line)) {
        if (findMarker(line, 0) == std::string_view::npos)
            writer.line(line, cursor.endedCanonically());
        else
            writer.skip();
    }
    TransformResult result;
    result.changed = writer.finish();
    return result;
}

} // namespace faultward

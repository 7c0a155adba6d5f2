#include "rewrite/transforms.h"

#include "rewrite/handler_format.h"
#include "rewrite/handler_lines.h"
#include "rewrite/procedure_body.h"
#include "rewrite/procedure_extents.h"
#include "rewrite/procedure_lines.h"
#include "rewrite/text_lines.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace faultward {
namespace {

// One line as a walk through a file hands it over: its text, and the bytes
// that end it (none for a last line without an ending).
struct SourceLine {
    std::string_view text;
    std::string_view ending;
};

// Writes lines to the output, each with the ending it has in the input. The
// writer keeps a run of input and hands it over whole when something is
// added, or at the end.
class LineWriter {
public:
    LineWriter(const char* content, std::string_view usualEnding, OutputPieces& out)
        : usualEnding_(usualEnding), out_(out), runStart_(content), runEnd_(content) {}

    void line(const SourceLine& line) {
        if (line.text.data() != runEnd_) {
            flush();
            runStart_ = line.text.data();
        }
        runEnd_ = line.text.data() + line.text.size() + line.ending.size();
        lastEnding_ = line.ending;
    }
    // The rest of the input, as it stands.
    void rest(std::string_view rest) {
        flush();
        out_.keep(rest);
    }
    // Added lines take the ending of the line they follow. Only a block before
    // a file's first line follows none: it takes that line's ending, or the
    // file's usual one when that line has none either.
    std::string_view endingBefore(const SourceLine& next) const {
        if (!lastEnding_.empty())
            return lastEnding_;
        return next.ending.empty() ? usualEnding_ : next.ending;
    }
    std::string_view endingAfterLast() const {
        return lastEnding_.empty() ? usualEnding_ : lastEnding_;
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

    std::string_view usualEnding_;
    std::string_view lastEnding_;
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

// Removal: only the lines that hold the marker are looked at, found from the
// marker outwards; the rest is kept in runs as it stands, line endings and all.
TransformResult removeFromMarkers(std::string_view content, LineBreaks breaks, OutputPieces& out) {
    const char terminator = breaks == LineBreaks::LineFeed ? '\n' : '\r';
    // Where the line whose terminator is at `at` ends: a line feed right after
    // a carriage return belongs to its ending.
    const auto endAfter = [&](std::size_t at) {
        ++at;
        if (breaks == LineBreaks::CarriageReturn && at < content.size() && content[at] == '\n')
            ++at;
        return at;
    };
    TransformResult result;
    std::size_t kept = 0; // start of the input not yet copied
    for (std::size_t marker = findMarker(content, 0); marker != std::string_view::npos;
         marker = findMarker(content, kept)) {
        const std::size_t before = findLastByte(content.data(), kept, marker, terminator);
        const std::size_t lineStart = before == std::string_view::npos ? kept : endAfter(before);
        // The lines this program writes end with the marker, which spares a search.
        std::size_t lineEnd = marker + kMarker.size();
        if (lineEnd == content.size() || content[lineEnd] != terminator)
            lineEnd = findByte(content.data(), marker, content.size(), terminator);
        lineEnd = lineEnd == content.size() ? lineEnd : endAfter(lineEnd);
        out.keep(content.substr(kept, lineStart - kept));
        kept = lineEnd;
        result.changed = true;
    }
    if (result.changed)
        out.keep(content.substr(kept));
    return result;
}

// The byte ranges, line endings included, of the procedures listed names.
std::vector<std::pair<std::size_t, std::size_t>> listedRanges(std::string_view content,
                                                              const ListedProcedures& listed) {
    std::vector<std::string_view> lines;
    LineCursor cursor(content);
    std::string_view line;
    while (cursor.next(line))
        lines.push_back(line);
    const auto startOf = [&](std::size_t index) {
        return index < lines.size() ? static_cast<std::size_t>(lines[index].data() - content.data())
                                    : content.size();
    };
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (const ProcedureExtent& extent : procedureExtents(lines))
        if (listed.names(extent.name))
            ranges.emplace_back(startOf(extent.head), startOf(extent.last + 1));
    return ranges;
}

// Removal around the procedures listed names, which keep their lines whole.
TransformResult removeAroundListed(std::string_view content, LineBreaks breaks,
                                   const ListedProcedures& listed, OutputPieces& out) {
    const auto ranges = listedRanges(content, listed);
    if (ranges.empty())
        return removeFromMarkers(content, breaks, out);
    TransformResult result;
    std::size_t kept = 0;
    const auto removeUpTo = [&](std::size_t end) {
        // Each stretch starts and ends at a line's start.
        const std::string_view stretch = content.substr(kept, end - kept);
        if (removeFromMarkers(stretch, breaks, out).changed)
            result.changed = true;
        else
            out.keep(stretch);
    };
    for (const auto& [start, end] : ranges) {
        removeUpTo(start);
        out.keep(content.substr(start, end - start));
        kept = end;
    }
    removeUpTo(content.size());
    return result;
}

// The lines of a buffer that suitsRuns(), from a line start on. Copies walk
// on without moving the original.
class BufferLines {
public:
    BufferLines(std::string_view content, std::string_view ending)
        : content_(content), terminator_(ending.front()), endingSize_(ending.size()) {}

    void moveTo(std::size_t lineStart) { pos_ = lineStart; }
    // The start of the line after the last one handed over.
    std::size_t position() const { return pos_; }
    bool next(SourceLine& line) {
        if (pos_ >= content_.size())
            return false;
        const std::size_t end = findByte(content_.data(), pos_, content_.size(), terminator_);
        line.text = content_.substr(pos_, end - pos_);
        line.ending = content_.substr(end, endingSize_);
        pos_ = end + endingSize_;
        return true;
    }

private:
    std::string_view content_;
    char terminator_;
    std::size_t endingSize_;
    std::size_t pos_ = 0;
};

// The lines of any buffer by the text line rule, as far as insertion may look.
class CursorLines {
public:
    CursorLines(std::string_view content, LineBreaks breaks) : cursor_(content, breaks) {}

    bool next(SourceLine& line) {
        if (count_ >= kInsertionLineLimit || !cursor_.next(line.text))
            return false;
        ++count_;
        const char* end = line.text.data() + line.text.size();
        line.ending =
            std::string_view(end, static_cast<std::size_t>(cursor_.remaining().data() - end));
        return true;
    }
    // For the lines beyond the limit.
    LineCursor& cursor() { return cursor_; }

private:
    LineCursor cursor_;
    std::size_t count_ = 0;
};

// What insertion puts at a line.
enum class Insertion { Nothing, HandlerBlockBefore, TrapLineAfter };

// The insertion rule for one line, shared by both walks through a file. A head
// continued over several lines, and in some files the Attribute lines after
// it, get the trap after the last of them: lines.next() hands over the next
// line, or returns false at the end of what may be looked at, and every line
// the rule moves past is handed to passOver. line is left at the last line the
// rule took; kind is set to the kind of the end or head found.
// result learns whether the line used the state carried into the file.
template <typename Lines, typename PassOver>
Insertion insertionAt(SourceLine& line, const InsertionOptions& options, const SourceFacts& facts,
                      const HandlerLines& handlers, InsertionState& state, TransformResult& result,
                      ProcedureKind& kind, Lines& lines, ScannedStretches& scanned,
                      PassOver&& passOver) {
    if (const std::optional<ProcedureKind> end = procedureEnd(line.text, options.procedures)) {
        kind = *end;
        result.carriedStateUsed |= !result.headFound;
        const bool leftAlone = state.endLeftAlone;
        state.endLeftAlone = false;
        return isCentralHandler(state.name) || state.handled || leftAlone
                   ? Insertion::Nothing
                   : Insertion::HandlerBlockBefore;
    }
    const std::optional<ProcedureHead> head = procedureHead(line.text, options.procedures);
    if (!head)
        return Insertion::Nothing;
    kind = head->kind;
    result.headFound = true;
    state.name.assign(procedureNameAt(line.text, head->nameStart));
    state.handled = false;
    state.endLeftAlone = false;
    const auto moveOn = [&] {
        const SourceLine passed = line;
        if (!lines.next(line))
            return false;
        passOver(passed);
        return true;
    };
    while (continuesOnNextLine(line.text))
        if (!moveOn())
            return Insertion::Nothing;
    if (endsWithInlineEnd(line.text, kind) || isCentralHandler(state.name))
        return Insertion::Nothing;
    if (listedIn(options, facts).names(state.name)) {
        state.endLeftAlone = true;
        return Insertion::Nothing;
    }
    if (attributesStayWithHead(kind, facts)) {
        for (;;) {
            Lines ahead = lines;
            SourceLine after;
            if (!ahead.next(after) || !after.text.starts_with("Attribute ") || !moveOn())
                break;
        }
    }
    Lines ahead = lines;
    const HandlerFit fit = handlers.fit(state, kind);
    const ProcedureBody body = scanProcedureBody(
        [&](std::string_view& text) {
            SourceLine next;
            if (!ahead.next(next))
                return false;
            text = next.text;
            return true;
        },
        kind, fit.labels, options.skipHandled, &scanned);
    switch (verdictOn(body, fit, options)) {
    case LeftAlone::No:
        return Insertion::TrapLineAfter;
    case LeftAlone::OwnHandling:
        state.handled = true;
        break;
    case LeftAlone::LabelTaken:
    case LeftAlone::LineTooLong:
        state.endLeftAlone = true;
        break;
    default:
        break;
    }
    return Insertion::Nothing;
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
TransformResult insertInRuns(std::string_view content, LineBreaks breaks,
                             const InsertionOptions& options, const SourceFacts& facts,
                             const HandlerLines& handlers, InsertionState& state,
                             OutputPieces& out) {
    const std::string_view ending = lineEnding(breaks);
    BufferLines lines(content, ending);
    TransformResult result;
    std::size_t kept = 0; // start of the input not yet kept
    std::size_t start = 0;
    ScannedStretches scanned;
    while ((start = nextPossibleProcedureLine(content, breaks, start)) < content.size()) {
        lines.moveTo(start);
        SourceLine line;
        lines.next(line);
        ProcedureKind kind = ProcedureKind::Sub;
        const Insertion insertion = insertionAt(line, options, facts, handlers, state, result, kind,
                                                lines, scanned, [](const SourceLine&) {});
        const std::size_t next = lines.position();
        if (insertion == Insertion::HandlerBlockBefore) {
            out.keep(content.substr(kept, start - kept));
            kept = start;
            handlers.block(out.added(), state, kind, ending);
            result.changed = true;
        } else if (insertion == Insertion::TrapLineAfter) {
            out.keep(content.substr(kept, next - kept));
            kept = next;
            handlers.trap(out.added(), state, kind, ending);
            result.changed = true;
        }
        start = next;
    }
    out.keep(content.substr(kept));
    return result;
}

} // namespace

TransformResult insertHandlers(std::string_view content, const InsertionOptions& options,
                               const SourceFacts& facts, InsertionState& state, OutputPieces& out) {
    const LineBreaks breaks = detectLineBreaks(content);
    const HandlerLines handlers(options, facts, content);
    if (suitsRuns(content, breaks))
        return insertInRuns(content, breaks, options, facts, handlers, state, out);
    LineWriter writer(content.data(), lineEnding(breaks), out);
    CursorLines lines(content, breaks);
    const auto passOver = [&](const SourceLine& passed) { writer.line(passed); };
    TransformResult result;
    ScannedStretches scanned;
    SourceLine line;
    while (lines.next(line)) {
        ProcedureKind kind = ProcedureKind::Sub;
        const Insertion insertion = insertionAt(line, options, facts, handlers, state, result, kind,
                                                lines, scanned, passOver);
        if (insertion == Insertion::HandlerBlockBefore)
            handlers.block(writer.insertion(), state, kind, writer.endingBefore(line));
        writer.line(line);
        if (insertion == Insertion::TrapLineAfter)
            handlers.trap(writer.insertion(), state, kind, writer.endingAfterLast());
    }

    const std::string_view rest = lines.cursor().remaining();
    result.lineLimitExceeded = !rest.empty();
    writer.rest(rest);
    result.changed = writer.finish();
    return result;
}

TransformResult insertHandlers(std::string_view content, HandlingMode mode,
                               std::string& currentName, OutputPieces& out) {
    InsertionState state{std::move(currentName)};
    const TransformResult result = insertHandlers(content, InsertionOptions(mode), {}, state, out);
    currentName = std::move(state.name);
    return result;
}

bool holdsMarker(std::string_view content) {
    return findMarker(content, 0) != std::string_view::npos;
}

TransformResult removeMarkedLines(std::string_view content, OutputPieces& out) {
    return removeFromMarkers(content, detectLineBreaks(content), out);
}

TransformResult removeMarkedLinesOutside(const ListedProcedures& listed, std::string_view content,
                                         OutputPieces& out) {
    const LineBreaks breaks = detectLineBreaks(content);
    // Without a marker nothing goes, listed or not.
    if (listed.any() && holdsMarker(content))
        return removeAroundListed(content, breaks, listed, out);
    return removeFromMarkers(content, breaks, out);
}

} // namespace faultward

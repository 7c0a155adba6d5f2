// Splits arbitrary bytes into lines and writes them back: every byte is
// accounted for, no line holds its own terminator, and what is written reads
// back as the same lines (so writing is a fixed point).
#include "fuzz_check.h"
#include "rewrite/text_lines.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace faultward;

namespace {

// Also checks the cursor's claim that a line ended exactly as it will be
// written back.
std::vector<std::string_view> splitLines(std::string_view content, LineBreaks breaks) {
    std::vector<std::string_view> lines;
    LineCursor cursor(content, breaks);
    const std::string_view ending = lineEnding(breaks);
    std::string_view line;
    while (cursor.next(line)) {
        lines.push_back(line);
        const std::size_t end =
            static_cast<std::size_t>(line.data() - content.data()) + line.size();
        const bool canonical = content.substr(end, ending.size()) == ending &&
                               cursor.remaining().data() == content.data() + end + ending.size();
        FUZZ_CHECK(cursor.endedCanonically() == canonical);
    }
    FUZZ_CHECK(cursor.remaining().empty());
    return lines;
}

std::string writeLines(const std::vector<std::string_view>& lines, LineBreaks breaks) {
    std::string out;
    for (std::string_view line : lines)
        appendLine(out, line, lineEnding(breaks));
    return out;
}

// The lines are views into the input, in order, separated by exactly one
// terminator each (CR, CR LF or LF as the break kind says), the last one
// optionally unterminated.
void checkEveryByteAccountedFor(std::string_view input, LineBreaks breaks,
                                const std::vector<std::string_view>& lines) {
    const char terminator = breaks == LineBreaks::LineFeed ? '\n' : '\r';
    std::size_t pos = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        FUZZ_CHECK(line.data() == input.data() + pos);
        FUZZ_CHECK(line.find(terminator) == std::string_view::npos);
        pos += line.size();
        if (pos == input.size()) {
            FUZZ_CHECK(i + 1 == lines.size());
            break;
        }
        FUZZ_CHECK(input[pos] == terminator);
        ++pos;
        if (breaks == LineBreaks::CarriageReturn && pos < input.size() && input[pos] == '\n')
            ++pos;
    }
    FUZZ_CHECK(pos == input.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const LineBreaks breaks = detectLineBreaks(input);
    const auto lines = splitLines(input, breaks);
    checkEveryByteAccountedFor(input, breaks, lines);
    // Line feed breaks are chosen only for text without a carriage return.
    if (breaks == LineBreaks::LineFeed)
        FUZZ_CHECK(input.find('\r') == std::string_view::npos);

    const std::string written = writeLines(lines, breaks);
    FUZZ_CHECK(isCanonical(input, breaks) == (written == input));
    FUZZ_CHECK(isCanonical(written, breaks));
    if (lines.empty()) {
        FUZZ_CHECK(written.empty());
        return 0;
    }
    FUZZ_CHECK(detectLineBreaks(written) == breaks);
    FUZZ_CHECK(written.ends_with(lineEnding(breaks)));
    const auto reread = splitLines(written, breaks);
    FUZZ_CHECK(reread == lines);
    FUZZ_CHECK(writeLines(reread, breaks) == written);

    // The other break kind must not lose bytes either, whatever the input holds.
    const LineBreaks other =
        breaks == LineBreaks::LineFeed ? LineBreaks::CarriageReturn : LineBreaks::LineFeed;
    checkEveryByteAccountedFor(input, other, splitLines(input, other));
    return 0;
}

#include "rewrite/handler_format.h"
#include "rewrite/line_numbering.h"
#include "rewrite/reinsertion.h"
#include "rewrite/text_lines.h"
#include "rewrite/transforms.h"

#include <gtest/gtest.h>

namespace faultward {
namespace {

// The lines joined with the endings given in turn; the last ending may be
// empty, for a file whose last line has none.
std::string joined(const std::vector<std::string_view>& lines,
                   const std::vector<std::string_view>& endings, bool lastEnded) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || lastEnded)
            text += endings[i % endings.size()];
    }
    return text;
}

const std::vector<std::string_view> kModule = {
    "Attribute VB_Name = \"Mixed\"",
    "Public Sub Run(ByVal a As Long, _",
    "               ByVal b As Long)",
    "    x = a \n b", // a lone line feed is part of the line
    "    ' note",
    "End Sub",
    "Function Twice(n As Long) As Long",
    "    Twice = n * 2",
    "End Function",
};

std::string inserted(std::string_view text) {
    InsertionOptions options(HandlingMode::ShowMessage);
    options.procedures = kAllProcedureKinds;
    InsertionState state;
    OutputPieces out;
    return insertHandlers(text, options, {}, state, out).changed ? out.joined() : std::string(text);
}

std::string removed(std::string_view text) {
    OutputPieces out;
    return removeMarkedLines(text, out).changed ? out.joined() : std::string(text);
}

std::string numbered(std::string_view text) {
    NumberingOptions options;
    options.procedures = kAllProcedureKinds;
    OutputPieces out;
    return numberLines(text, options, out).changed ? out.joined() : std::string(text);
}

std::string unnumbered(std::string_view text) {
    OutputPieces out;
    return unnumberLines(text, kAllProcedureKinds, out).changed ? out.joined() : std::string(text);
}

// Every line keeps its own ending through each transform, so that each undoes
// the other byte for byte, whatever endings the file mixes.
TEST(LineEndings, everyLineKeepsItsOwnThroughEveryTransform) {
    const std::vector<std::vector<std::string_view>> kinds = {
        {"\r\n"}, {"\r"}, {"\r", "\r\n", "\r\n", "\r"}, {"\n"}};
    for (const auto& endings : kinds) {
        for (const bool lastEnded : {true, false}) {
            const std::string file = joined(kModule, endings, lastEnded);
            SCOPED_TRACE(::testing::PrintToString(file));
            OutputPieces unused;
            EXPECT_FALSE(removeMarkedLines(file, unused).changed);

            const std::string withHandlers = inserted(file);
            EXPECT_EQ(removed(withHandlers), file);
            // An added line takes the ending of the line before it.
            LineCursor cursor(withHandlers);
            std::string_view line;
            std::string_view lastEnding;
            while (cursor.next(line)) {
                const char* end = line.data() + line.size();
                const std::string_view ending(
                    end, static_cast<std::size_t>(cursor.remaining().data() - end));
                if (line.find(kMarker) != std::string_view::npos)
                    EXPECT_EQ(ending, lastEnding) << line;
                lastEnding = ending;
            }

            // With line numbers, as insert and remove --line-numbers do them.
            const std::string withNumbers = numbered(withHandlers);
            EXPECT_NE(withNumbers, withHandlers);
            EXPECT_EQ(unnumbered(removed(withNumbers)), file);

            // The one-read insertion gives the same, and nothing to write the
            // second time.
            for (const std::string* start : {&file, &withHandlers}) {
                Reinsertion reinsertion;
                reinsertion.clean(*start);
                InsertionOptions options(HandlingMode::ShowMessage);
                options.procedures = kAllProcedureKinds;
                InsertionState state;
                OutputPieces out;
                const TransformResult result = reinsertion.insert(options, {}, state, out);
                EXPECT_EQ(out.joined(), withHandlers);
                EXPECT_EQ(result.changed, start == &file);
            }
        }
    }
}

} // namespace
} // namespace faultward

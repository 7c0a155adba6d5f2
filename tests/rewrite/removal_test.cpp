#include "rewrite/handler_format.h"
#include "rewrite/text_lines.h"
#include "rewrite/transforms.h"
#include "support/handled_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <random>

namespace faultward {
namespace {

std::string removeMarked(std::string_view content) {
    OutputPieces out;
    return removeMarkedLines(content, out).changed ? out.joined() : std::string(content);
}

std::string insert(std::string_view content, int mode) {
    return testing::withHandlers(content, mode);
}

TEST(Removal, undoesInsertionInEveryMode) {
    const std::string original =
        crlf({"Attribute VB_Name = \"Module1\"", "Public Sub Main()", "    Form2.Show", "End Sub",
              "", "Private Function Twice(n As Integer) As Integer", "End Function",
              "Private Sub A(ByVal x As Long, _", "   y As Long)", "End Sub",
              "Private Sub B(): End Sub", "End Sub"});
    for (int mode : {0, 1, 2, 7}) {
        const std::string inserted = insert(original, mode);
        ASSERT_NE(inserted, original);
        EXPECT_EQ(removeMarked(inserted), original) << mode;
        EXPECT_EQ(removeMarked(removeMarked(inserted)), original) << mode;
    }
}

TEST(Removal, dropRuleIsExactAndAnywhereInTheLine) {
    const std::string input =
        crlf({"keep", "  x = \"'~Faultward~\"", "' note '~Faultward~ here",
              "'~faultward~ lower case stays", "'~Faultward partial stays", "", "last"});
    EXPECT_EQ(removeMarked(input), crlf({"keep", "'~faultward~ lower case stays",
                                         "'~Faultward partial stays", "", "last"}));
}

TEST(Removal, lineBreaksAndEdgeFiles) {
    EXPECT_EQ(removeMarked(""), "");
    EXPECT_EQ(removeMarked(crlf({"a '~Faultward~", "b '~Faultward~"})), "");
    EXPECT_EQ(removeMarked("a\r\nb"), "a\r\nb");
    EXPECT_EQ(removeMarked("a\nb '~Faultward~\nc"), "a\nc");
    EXPECT_EQ(removeMarked("a\rb '~Faultward~\r\n\nc\r"), "a\r\nc\r");
    EXPECT_EQ(removeMarked(crlf({"a", "b"})), crlf({"a", "b"}));
}

TEST(Removal, keepsEveryLineOfAVeryLongFile) {
    std::string input;
    for (int i = 0; i < 40000; ++i)
        input += (i % 3 == 0) ? "x '~Faultward~\r\n" : "keep\r\n";
    const std::string out = removeMarked(input);
    std::size_t kept = 0;
    for (std::size_t at = out.find("keep"); at != std::string::npos; at = out.find("keep", at + 1))
        ++kept;
    EXPECT_EQ(kept, 40000u - 13334u);
}

// The rule itself, line by line: every line that holds the marker goes, every
// other line stays as it is, its ending too.
std::string removedLineByLine(std::string_view content) {
    LineCursor cursor(content);
    std::string out;
    std::string_view line;
    while (cursor.next(line))
        if (line.find(kMarker) == std::string_view::npos)
            out.append(line.data(), cursor.remaining().data());
    return out;
}

// Marked lines are found from the marker outwards and the rest is kept in
// runs; random text built from the pieces that matter must still follow the rule.
TEST(Removal, runsAndScanAgreeWithTheLineRuleOnRandomText) {
    std::mt19937 random(2024);
    const std::string_view pieces[] = {
        "'~Faultward~", "~", "'", "\r\n", "\r", "\n", "abc", " ", "x  '~Faultward~\r\n"};
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i)
            text += pieces[random() % std::size(pieces)];
        if (round % 2 == 0 && !text.ends_with("\r\n"))
            text += "\r\n"; // half the inputs take the run path from the start
        ASSERT_EQ(removeMarked(text), removedLineByLine(text)) << ::testing::PrintToString(text);
    }
}

} // namespace
} // namespace faultward

#include "rewrite/line_diff.h"
#include "rewrite/transforms.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

using faultward::testing::crlf;
using faultward::testing::readFile;
using faultward::testing::TempFolder;

namespace faultward {
namespace {

std::string inserted(std::string_view content, int mode) {
    std::string name;
    OutputPieces out;
    return insertHandlers(content, mode, name, out).changed ? out.joined() : std::string(content);
}

// Applies a unified diff to before, as patch would, checking every context
// and removed line against before.
std::string applyDiff(std::string_view before, std::string_view diff) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < before.size();) {
        const std::size_t end = std::min(before.find('\n', at), before.size() - 1) + 1;
        lines.emplace_back(before.substr(at, end - at));
        at = end;
    }
    std::vector<std::string> body;
    for (std::size_t at = 0; at < diff.size();) {
        const std::size_t end = diff.find('\n', at) + 1;
        std::string line(diff.substr(at, end - at));
        at = end;
        if (line.starts_with("\\ No newline"))
            body.back().pop_back();
        else
            body.push_back(line);
    }
    std::string after;
    std::size_t next = 0; // lines of before used
    for (std::size_t k = 2; k < body.size(); ++k) {
        const std::string& line = body[k];
        if (line.starts_with("@@ -")) {
            const std::size_t start = std::stoul(line.substr(4));
            const bool empty = line.find(",0 ") == line.find(' ', 4) - 2;
            for (const std::size_t stop = empty ? start : start - 1; next < stop; ++next)
                after += lines.at(next);
        } else if (line[0] == '+') {
            after += line.substr(1);
        } else {
            EXPECT_EQ(lines.at(next), line.substr(1));
            if (line[0] == ' ')
                after += lines.at(next);
            ++next;
        }
    }
    for (; next < lines.size(); ++next)
        after += lines[next];
    return after;
}

TEST(LineDiff, isWhatDiffPrintsForAnInsertion) {
    TempFolder folder;
    std::string before;
    for (int i = 0; i < 12; ++i)
        before += crlf({"Sub P" + std::to_string(i) + "()", "    x = 1", "", "", "End Sub"});
    const std::string after = inserted(before, 0);
    const auto a = folder.write("a", before);
    const auto b = folder.write("b", after);
    const std::string command = "diff -u --label a/M.bas --label b/M.bas '" + a.string() + "' '" +
                                b.string() + "' > '" + (folder / "diff").string() + "'";
    ASSERT_EQ(std::system(command.c_str()) >> 8, 1);
    EXPECT_EQ(unifiedDiff(before, after, "a/M.bas", "b/M.bas"), readFile(folder / "diff"));
    const LineChanges changes = countLineChanges(before, after);
    EXPECT_EQ(changes.added, 12u * 5);
    EXPECT_EQ(changes.removed, 0u);
    EXPECT_EQ(unifiedDiff(after, after, "a", "b"), "");
}

TEST(LineDiff, marksALastLineWithoutItsLineFeed) {
    EXPECT_EQ(unifiedDiff("Sub A()\nEnd Sub", "Sub A()\nEnd Sub\n", "a/x", "b/x"),
              "--- a/x\n+++ b/x\n@@ -1,2 +1,2 @@\n Sub A()\n-End Sub\n\\ No newline at end of "
              "file\n+End Sub\n");
    EXPECT_EQ(unifiedDiff("", "x\n", "a/x", "b/x"), "--- a/x\n+++ b/x\n@@ -0,0 +1 @@\n+x\n");
}

// Whatever the two texts, the diff turns the first into the second.
TEST(LineDiff, appliedToBeforeGivesAfter) {
    std::mt19937 random(3);
    const std::string_view pieces[] = {"Sub A()\n",
                                       "End Sub\n",
                                       "x\n",
                                       "x\r\n",
                                       "\n",
                                       "'~Faultward~\n",
                                       "ERR_A:  '~Faultward~\r\n",
                                       "y"};
    for (int round = 0; round < 2000; ++round) {
        std::string text[2];
        for (std::string& side : text)
            for (int n = static_cast<int>(random() % 30); n > 0; --n)
                side += pieces[random() % std::size(pieces)];
        const std::string diff = unifiedDiff(text[0], text[1], "a", "b");
        ASSERT_EQ(applyDiff(text[0], diff), text[1]) << diff;
        const LineChanges changes = countLineChanges(text[0], text[1]);
        std::size_t plus = 0;
        for (std::size_t at = diff.find("\n+"); at != std::string::npos;
             at = diff.find("\n+", at + 1))
            ++plus;
        ASSERT_EQ(changes.added, text[0] == text[1] ? 0 : plus - 1); // less the +++ header
    }
}

} // namespace
} // namespace faultward

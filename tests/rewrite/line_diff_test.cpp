#include "rewrite/line_diff.h"

#include "rewrite/handler_format.h"
#include "support/split_mix.h"

#include <gtest/gtest.h>

#include <vector>

namespace faultward {
namespace {

TEST(LineDiff, marksALastLineWithoutItsLineFeed) {
    EXPECT_EQ(unifiedDiff("Sub A()\nEnd Sub", "Sub A()\nEnd Sub\n", "a/x", "b/x"),
              "--- a/x\n+++ b/x\n@@ -1,2 +1,2 @@\n Sub A()\n-End Sub\n\\ No newline at end of "
              "file\n+End Sub\n");
    EXPECT_EQ(unifiedDiff("", "x\n", "a/x", "b/x"), "--- a/x\n+++ b/x\n@@ -0,0 +1 @@\n+x\n");
}

// The walk as first written, over whole texts split into lines up front: what
// the walk over pieces must print, byte for byte.
std::string plainHunks(std::string_view before, std::string_view after, LineChanges& changes) {
    const auto split = [](std::string_view text) {
        std::vector<std::string_view> lines;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t feed = text.find('\n', start);
            const std::size_t end = feed == std::string_view::npos ? text.size() : feed + 1;
            lines.push_back(text.substr(start, end - start));
            start = end;
        }
        return lines;
    };
    const auto marked = [](std::string_view line) { return line.find(kMarker) != line.npos; };
    const std::vector<std::string_view> a = split(before);
    const std::vector<std::string_view> b = split(after);
    struct Edit {
        char step;
        std::size_t i, j;
    };
    std::vector<Edit> script;
    std::size_t i = 0, j = 0;
    const auto step = [&](char kind) {
        script.push_back({kind, i, j});
        i += kind != '+';
        j += kind != '-';
    };
    while (i < a.size() && j < b.size()) {
        if (a[i] == b[j])
            step(' ');
        else if (marked(a[i]))
            step('-');
        else if (marked(b[j]))
            step('+');
        else
            step('-'), step('+');
    }
    while (i < a.size())
        step('-');
    while (j < b.size())
        step('+');
    std::vector<std::size_t> at;
    for (std::size_t k = 0; k < script.size(); ++k)
        if (script[k].step != ' ')
            at.push_back(k);
    changes = {};
    std::string out;
    const auto range = [](std::size_t consumed, std::size_t count) {
        std::string text = std::to_string(count == 0 ? consumed : consumed + 1);
        return count == 1 ? text : text + "," + std::to_string(count);
    };
    for (std::size_t first = 0; first < at.size();) {
        std::size_t last = first;
        while (last + 1 < at.size() && at[last + 1] - at[last] <= 7)
            ++last;
        const std::size_t from = at[first] - std::min<std::size_t>(at[first], 3);
        const std::size_t to = std::min(script.size(), at[last] + 4);
        std::size_t beforeCount = 0, afterCount = 0;
        std::string body;
        for (std::size_t k = from; k < to; ++k) {
            const Edit& edit = script[k];
            beforeCount += edit.step != '+';
            afterCount += edit.step != '-';
            changes.added += edit.step == '+';
            changes.removed += edit.step == '-';
            const std::string_view line = edit.step == '+' ? b[edit.j] : a[edit.i];
            body += edit.step;
            body += line;
            if (!line.ends_with('\n'))
                body += "\n\\ No newline at end of file\n";
        }
        out += "@@ -" + range(script[from].i, beforeCount) + " +" +
               range(script[from].j, afterCount) + " @@\n" + body;
        first = last + 1;
    }
    return out;
}

// A pass's output: runs of the input, dropped marked lines, added lines (most
// marked), a changed line here and there, the same line copied, cut into
// pieces at random places.
TEST(LineDiff, piecesGiveThePlainWalksCountsAndHunks) {
    testing::SplitMix64 random(7);
    const std::vector<std::string> lines = {"Sub A()",
                                            "    x = 1",
                                            "End Sub",
                                            "",
                                            "' note ~ here",
                                            "    On Error GoTo Handler " + std::string(kMarker),
                                            "Handler: " + std::string(kMarker),
                                            "    10 y = 2",
                                            "\r",
                                            "~Faultward~",
                                            std::string(kMarker)};
    for (int round = 0; round < 3000; ++round) {
        std::string before;
        const int count = random.between(0, 40);
        for (int line = 0; line < count; ++line)
            before += random.pick(lines) + (random.chance(10) ? "\r\n" : "\n");
        if (!before.empty() && random.chance(30))
            before.pop_back();
        // What the pass adds lives in a buffer of its own, as OutputPieces keeps it.
        std::string added;
        added.reserve(100000);
        std::vector<std::string_view> pieces;
        const auto input = [&](std::size_t from, std::size_t to) {
            if (to > from)
                pieces.emplace_back(before.data() + from, to - from);
        };
        const auto add = [&](const std::string& text) {
            const std::size_t start = added.size();
            added += text;
            pieces.emplace_back(added.data() + start, text.size());
        };
        std::size_t kept = 0;
        for (std::size_t start = 0; start < before.size();) {
            const std::size_t feed = before.find('\n', start);
            const std::size_t end = feed == std::string::npos ? before.size() : feed + 1;
            const int choice = random.between(0, 19);
            if (choice < 2) { // dropped
                input(kept, start);
                kept = end;
            } else if (choice < 4) { // lines added before it
                input(kept, start);
                kept = start;
                for (int n = random.between(1, 4); n > 0; --n)
                    add(random.pick(lines) + (random.chance(80) ? "\n" : "\r\n"));
            } else if (choice == 4) { // changed
                input(kept, start);
                kept = end;
                add("    20 " + before.substr(start, end - start));
            } else if (choice == 5) { // the same bytes from another buffer
                input(kept, start);
                kept = end;
                add(before.substr(start, end - start));
            } else if (choice == 6) { // cut in two
                const std::size_t cut = start + (end - start) / 2;
                input(kept, cut);
                kept = cut;
            }
            start = end;
        }
        input(kept, before.size());
        if (random.chance(20))
            add("End Sub\n");
        std::string after;
        for (const std::string_view piece : pieces)
            after += piece;

        LineChanges expected;
        const std::string plain = plainHunks(before, after, expected);
        std::string hunks;
        const LineChanges changes = compareLines(before, pieces, &hunks);
        ASSERT_EQ(hunks, plain) << "round " << round;
        ASSERT_EQ(changes.added, expected.added) << "round " << round;
        ASSERT_EQ(changes.removed, expected.removed) << "round " << round;
        const LineChanges counted = compareLines(before, pieces);
        ASSERT_EQ(counted.added, expected.added) << "round " << round;
        ASSERT_EQ(counted.removed, expected.removed) << "round " << round;
    }
}

} // namespace
} // namespace faultward

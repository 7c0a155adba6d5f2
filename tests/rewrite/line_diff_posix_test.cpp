// The diff printed for a dry run against the system's own diff -u.
#include "rewrite/line_diff.h"
#include "rewrite/transforms.h"
#include "support/handled_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace faultward {
namespace {

std::string inserted(std::string_view content, int mode) {
    return testing::withHandlers(content, mode);
}

// Procedures far enough apart for hunks of their own, and near enough to share one.
TEST(LineDiff, isWhatDiffPrintsForAnInsertion) {
    TempFolder folder;
    std::string before;
    for (int i = 0; i < 12; ++i) {
        before += crlf({"Sub P" + std::to_string(i) + "()", "    x = 1", "End Sub"});
        for (int blank = i % 3 == 0 ? 7 : 2; blank > 0; --blank)
            before += "\r\n";
    }
    const std::string after = inserted(before, 0);
    const auto a = folder.write("a", before);
    const auto b = folder.write("b", after);
    const std::string command = "diff -u --label a/M.bas --label b/M.bas '" + a.string() + "' '" +
                                b.string() + "' > '" + (folder / "diff").string() + "'";
    ASSERT_EQ(std::system(command.c_str()) >> 8, 1);
    const std::string diff = unifiedDiff(before, after, "a/M.bas", "b/M.bas");
    EXPECT_EQ(diff, readFile(folder / "diff"));
    EXPECT_EQ(std::count(diff.begin(), diff.end(), '@'), 5 * 4); // five hunks of four @
    const LineChanges changes = countLineChanges(before, after);
    EXPECT_EQ(changes.added, 12u * 5);
    EXPECT_EQ(changes.removed, 0u);
    EXPECT_EQ(unifiedDiff(after, after, "a", "b"), "");
}

} // namespace
} // namespace faultward

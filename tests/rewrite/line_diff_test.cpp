#include "rewrite/line_diff.h"

#include <gtest/gtest.h>

namespace faultward {
namespace {

TEST(LineDiff, marksALastLineWithoutItsLineFeed) {
    EXPECT_EQ(unifiedDiff("Sub A()\nEnd Sub", "Sub A()\nEnd Sub\n", "a/x", "b/x"),
              "--- a/x\n+++ b/x\n@@ -1,2 +1,2 @@\n Sub A()\n-End Sub\n\\ No newline at end of "
              "file\n+End Sub\n");
    EXPECT_EQ(unifiedDiff("", "x\n", "a/x", "b/x"), "--- a/x\n+++ b/x\n@@ -0,0 +1 @@\n+x\n");
}

} // namespace
} // namespace faultward

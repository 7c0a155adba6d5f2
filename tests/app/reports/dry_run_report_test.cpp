#include "app/reports/dry_run_report.h"
#include "platform/path_bytes.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

const fs::path kRoot = fs::path("work");
const fs::path kProject = kRoot / "app";

struct Written {
    std::string text;
    DryRunReport report;
    Written(const fs::path& folder, bool diff)
        : report(folder, diff, [this](std::string_view part) { text += part; }) {}
    void change(int index, const fs::path& path, std::string_view hunks) {
        report.fileWouldChange({index, "E" + std::to_string(index), path, {1, 0}, hunks});
    }
};

// Inside the project's folder the diffs go out as the files come; a file
// named outside it holds them until the last, and names the folder they
// are relative to only when a file there changes.
TEST(DryRunReport, diffsGoOutAtOnceUnlessAFileOutsideMayMoveTheirFolder) {
    const std::vector<NamedFile> inside = {{0, kProject / "A.bas"}, {1, kProject / "M" / "B.bas"}};
    Written streamed(kProject, true);
    streamed.report.filesNamed(inside);
    streamed.change(0, kProject / "A.bas", "@@ -1 +1,2 @@\n");
    EXPECT_EQ(streamed.text, "--- a/A.bas\n+++ b/A.bas\n@@ -1 +1,2 @@\n");
    streamed.change(1, kProject / "M" / "B.bas", "@@ -2 +2,2 @@\n");
    streamed.report.finish();
    EXPECT_EQ(streamed.text, "--- a/A.bas\n+++ b/A.bas\n@@ -1 +1,2 @@\n"
                             "--- a/M/B.bas\n+++ b/M/B.bas\n@@ -2 +2,2 @@\n");

    std::vector<NamedFile> withShared = inside;
    withShared.push_back({2, kRoot / "Shared" / "S.bas"});
    Written held(kProject, true);
    held.report.filesNamed(withShared);
    held.change(0, kProject / "A.bas", "@@ -1 +1,2 @@\n");
    held.change(1, kProject / "M" / "B.bas", "@@ -2 +2,2 @@\n");
    EXPECT_EQ(held.text, "");
    held.report.finish();
    EXPECT_EQ(held.text, streamed.text);

    Written moved(kProject, true);
    moved.report.filesNamed(withShared);
    moved.change(0, kProject / "A.bas", "@@ -1 +1,2 @@\n");
    moved.change(2, kRoot / "Shared" / "S.bas", "@@ -3 +3,2 @@\n");
    moved.report.finish();
    EXPECT_EQ(moved.text, "folder: " + bytesFromPath(kRoot) +
                              "\n--- a/app/A.bas\n+++ b/app/A.bas\n@@ -1 +1,2 @@\n"
                              "--- a/Shared/S.bas\n+++ b/Shared/S.bas\n@@ -3 +3,2 @@\n");
}

TEST(DryRunReport, countsGoOutAtOnceAndSayWhenNoFileWouldChange) {
    Written counts(kProject, false);
    counts.report.filesNamed(std::vector<NamedFile>{{0, kRoot / "Shared" / "S.bas"}});
    counts.change(0, kRoot / "Shared" / "S.bas", "");
    EXPECT_EQ(counts.text, "E0: +1 -0\n");
    counts.report.finish();
    EXPECT_EQ(counts.text, "E0: +1 -0\n");
    Written none(kProject, false);
    none.report.finish();
    EXPECT_EQ(none.text, "no file would change\n");
}

} // namespace
} // namespace faultward

// A disk that fills up, imitated by a file-size limit on the child process:
// writes stop part-way, yet every file ends whole, the failures are named and
// the exit status says so.
#include "child_process.h"
#include "project_tree.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward::reliability {
namespace {

constexpr rlim_t kLimit = 64 * 1024;

// Procedures whose handlers make the file about three times longer.
std::string procedures(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "Private Sub P" + std::to_string(i) + "()\r\n    x = x + 1\r\nEnd Sub\r\n";
    return text;
}

class FileSizeLimit : public ::testing::Test {
protected:
    void SetUp() override {
        for (const fs::path& root : {limited_.path(), free_.path()}) {
            write(root, "App.vbp",
                  "Form=Small.frm\r\nModule=S; Small.bas\r\nModule=B; Big.bas\r\n"
                  "Module=G; Grows.bas\r\n");
            write(root, "Small.frm", procedures(10));
            write(root, "Small.bas", procedures(10));
            write(root, "Big.bas", procedures(2000));  // larger than the limit already
            write(root, "Grows.bas", procedures(700)); // within it until handlers go in
        }
    }
    static void write(const fs::path& root, const std::string& name, const std::string& bytes) {
        writeFile(root / name, bytes);
    }
    ChildResult run(std::vector<std::string> args, std::optional<rlim_t> limit) {
        ChildOptions options;
        options.args = std::move(args);
        options.fileSizeLimit = limit;
        return runChild(options);
    }
    std::string vbp(const TempFolder& folder) { return (folder / "App.vbp").string(); }

    TempFolder limited_;
    TempFolder free_; // the same project, processed without a limit
};

TEST_F(FileSizeLimit, insertLeavesTooLargeFilesAsTheyWereAndNamesThem) {
    ASSERT_GE(fs::file_size(limited_ / "Big.bas"), kLimit);
    ASSERT_LT(fs::file_size(limited_ / "Grows.bas"), kLimit);
    const TreeSnapshot before = snapshotTree(limited_.path());
    const ChildResult result = run({"insert", "--mode", "2", vbp(limited_)}, kLimit);
    ASSERT_EQ(run({"insert", "--mode", "2", vbp(free_)}, std::nullopt).exitStatus, 0);

    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "faultward-cli: Big.bas: too large\n"
                          "faultward-cli: Grows.bas: too large\n");
    const TreeSnapshot after = snapshotTree(limited_.path());
    EXPECT_TRUE(sameEntry(before.at("Big.bas"), after.at("Big.bas"), true));
    EXPECT_TRUE(sameEntry(before.at("Grows.bas"), after.at("Grows.bas"), true));
    const TreeSnapshot expected = snapshotTree(free_.path());
    EXPECT_EQ(after.at("Small.frm").bytes, expected.at("Small.frm").bytes);
    EXPECT_EQ(after.at("Small.bas").bytes, expected.at("Small.bas").bytes);
    EXPECT_EQ(temporariesIn(after), std::vector<std::string>{});
    EXPECT_EQ(after.size(), before.size());
}

TEST_F(FileSizeLimit, removeKeepsAFileWholeWhenItsWriteFails) {
    ASSERT_EQ(run({"insert", "--mode", "0", vbp(limited_)}, std::nullopt).exitStatus, 0);
    const TreeSnapshot inserted = snapshotTree(limited_.path());
    const ChildResult result = run({"remove", vbp(limited_)}, kLimit);

    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "faultward-cli: Big.bas: too large\n");
    const TreeSnapshot after = snapshotTree(limited_.path());
    const TreeSnapshot original = snapshotTree(free_.path());
    EXPECT_TRUE(sameEntry(inserted.at("Big.bas"), after.at("Big.bas"), true));
    for (const char* name : {"Small.frm", "Small.bas", "Grows.bas"})
        EXPECT_EQ(after.at(name).bytes, original.at(name).bytes) << name;
    EXPECT_EQ(temporariesIn(after), std::vector<std::string>{});
}

TEST_F(FileSizeLimit, noRoomAtAllChangesNothing) {
    const TreeSnapshot before = snapshotTree(limited_.path());
    const ChildResult result = run({"insert", "--mode", "1", vbp(limited_)}, 0);
    EXPECT_EQ(result.exitStatus, 1);
    for (const char* name : {"Big.bas", "Grows.bas", "Small.bas", "Small.frm"})
        EXPECT_NE(result.err.find(std::string(name) + ": too large"), std::string::npos) << name;
    EXPECT_EQ(differences(before, snapshotTree(limited_.path()), true), std::vector<std::string>{});
}

// A copy cut short by a full disk is no release: the file that failed is
// named, what was copied goes again, and the sources' project is not blamed.
TEST_F(FileSizeLimit, outputCopyThatRunsOutOfRoomIsNamedAndRemoved) {
    TempFolder out;
    const fs::path release = out / "release";
    const TreeSnapshot before = snapshotTree(limited_.path());
    const ChildResult result = run({"insert", "--output", release.string(), vbp(limited_)}, kLimit);

    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "");
    const std::string failed =
        "faultward-cli: cannot write " + (release / "Big.bas").string() + ": ";
    EXPECT_TRUE(result.err.starts_with(failed)) << result.err;
    EXPECT_NE(result.err.find("\nfaultward-cli: the partial copy in " + release.string() +
                              " was removed\nfaultward-cli: nothing was processed\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find("does not exist"), std::string::npos) << result.err;
    EXPECT_TRUE(fs::is_empty(out.path()));
    EXPECT_EQ(differences(before, snapshotTree(limited_.path()), true), std::vector<std::string>{});
}

} // namespace
} // namespace faultward::reliability

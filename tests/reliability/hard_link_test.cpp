// Files with more than one name (hard links): every name sees the new bytes,
// a failed write leaves every name with the old ones, and the copy of the old
// bytes that a run ended mid-write leaves behind is put back by the next run.
#include "child_process.h"
#include "project_tree.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace faultward::reliability {
namespace {

const std::string kProcedure = "Private Sub Go()\r\n    Beep\r\nEnd Sub\r\n";

bool isProcessed(const std::string& bytes) {
    return bytes.find("ON ERROR GOTO ERR_Go") != std::string::npos;
}

std::vector<std::string> leftovers(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().filename().string().find(".faultward-") != std::string::npos)
            found.push_back(entry.path().filename().string());
    return found;
}

TEST(HardLinks, everyNameSeesTheNewBytesAndKeepsTheFile) {
    TempFolder folder;
    const fs::path vbp = folder.write("App.vbp", "Module=A; A.bas\r\nModule=B; B.bas\r\n");
    folder.write("A.bas", kProcedure);
    fs::create_hard_link(folder / "A.bas", folder / "B.bas");
    fs::create_directory(folder / "Elsewhere");
    fs::create_hard_link(folder / "A.bas", folder / "Elsewhere" / "A.bas");
    const ino_t inode = entryState(folder / "A.bas").inode;

    const ChildResult inserted = runCli({"insert", "--mode", "1", vbp.string()});
    EXPECT_EQ(inserted.exitStatus, 0) << inserted.err;
    for (const char* name : {"A.bas", "B.bas", "Elsewhere/A.bas"}) {
        EXPECT_EQ(entryState(folder / name).inode, inode) << name;
        EXPECT_TRUE(isProcessed(readFile(folder / name))) << name;
    }
    EXPECT_EQ(fs::hard_link_count(folder / "A.bas"), 3u);
    EXPECT_EQ(runCli({"insert", "--mode", "1", "--dry-run", vbp.string()}).out,
              "no file would change\n");

    ASSERT_EQ(runCli({"remove", vbp.string()}).exitStatus, 0);
    EXPECT_EQ(readFile(folder / "Elsewhere" / "A.bas"), kProcedure);
    EXPECT_EQ(leftovers(folder.path()), std::vector<std::string>{});
}

TEST(HardLinks, aWriteThatFailsLeavesEveryNameWithTheOldBytes) {
    TempFolder folder;
    const fs::path vbp = folder.write("App.vbp", "Module=A; A.bas\r\n");
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += kProcedure;
    folder.write("A.bas", many);
    fs::create_hard_link(folder / "A.bas", folder / "Link.bas");
    const EntryState before = entryState(folder / "A.bas");

    // Room for the copy of the old bytes, not for the longer new ones.
    ChildOptions options;
    options.args = {"insert", "--mode", "1", vbp.string()};
    options.fileSizeLimit = many.size() + 100;
    const ChildResult result = runChild(options);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "faultward-cli: A.bas: too large\n");
    EXPECT_EQ(readFile(folder / "Link.bas"), many);
    EXPECT_EQ(entryState(folder / "A.bas").inode, before.inode);
    EXPECT_EQ(leftovers(folder.path()), std::vector<std::string>{});
}

TEST(HardLinks, theOldBytesAnEndedRunLeftArePutBackAndSaid) {
    TempFolder folder;
    const fs::path vbp = folder.write("App.vbp", "Module=A; A.bas\r\nModule=G; Gone.bas\r\n");
    const std::string dead = std::to_string(endedProcessId());
    const std::string alive = std::to_string(::getpid());
    folder.write("A.bas", "Private Sub Go()\r\n    Be"); // cut off mid-write
    fs::create_hard_link(folder / "A.bas", folder / "Link.bas");
    folder.write(".A.bas.faultward-" + dead + ".old", kProcedure);
    // A file no longer there gets its copy's name back.
    folder.write(".Gone.bas.faultward-" + dead + ".old", kProcedure);
    // A run still going owns its copy.
    folder.write("Other.bas", "new bytes");
    folder.write(".Other.bas.faultward-" + alive + ".old", "old bytes");

    const ChildResult result = runCli({"insert", "--mode", "1", vbp.string()});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    const std::string said = " was left half written by an interrupted run; its old contents "
                             "have been put back.\n";
    EXPECT_NE(result.err.find("faultward-cli: The file " + (folder / "A.bas").string() + said),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("faultward-cli: The file " + (folder / "Gone.bas").string() + said),
              std::string::npos)
        << result.err;
    for (const char* name : {"A.bas", "Link.bas", "Gone.bas"})
        EXPECT_TRUE(isProcessed(readFile(folder / name))) << name;
    EXPECT_EQ(fs::hard_link_count(folder / "A.bas"), 2u);
    EXPECT_EQ(readFile(folder / "Other.bas"), "new bytes");
    EXPECT_EQ(leftovers(folder.path()),
              std::vector<std::string>{".Other.bas.faultward-" + alive + ".old"});
}

} // namespace
} // namespace faultward::reliability

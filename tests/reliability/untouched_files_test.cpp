// A pass that would not change a file's bytes does not write it at all: its
// inode, modification and change times stay, and so does its folder's, which
// keeps build tools and source control quiet.
#include "child_process.h"
#include "project_tree.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace faultward::reliability {
namespace {

// Modification times of the folders below root and root itself; a temporary
// made and renamed or removed in a folder changes them.
std::map<std::string, std::pair<time_t, long>> folderTimes(const fs::path& root) {
    std::map<std::string, std::pair<time_t, long>> times;
    const auto record = [&](const fs::path& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        times[path.string()] = {info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
    };
    record(root);
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_directory())
            record(entry.path());
    return times;
}

TEST(UntouchedFiles, removeOnAProjectWithoutHandlersWritesNothing) {
    TempFolder folder;
    const fs::path project = generateProject(folder / "p", 20, 500, 3);
    const TreeSnapshot before = snapshotTree(folder / "p");
    const auto foldersBefore = folderTimes(folder / "p");

    const ChildResult result = runCli({"remove", project.string()});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(differences(before, snapshotTree(folder / "p"), true), std::vector<std::string>{});
    EXPECT_EQ(folderTimes(folder / "p"), foldersBefore);
}

TEST(UntouchedFiles, filesWithNothingToChangeKeepInodeAndTimes) {
    TempFolder folder;
    const fs::path vbp = folder.write(
        "App.vbp", "Module=A; Functions.bas\r\nModule=B; Empty.bas\r\nForm=Unix.frm\r\n");
    // No Sub to give a handler, so insertion has nothing to add either.
    folder.write("Functions.bas", "Attribute VB_Name = \"A\"\r\n\r\nPrivate Function F() As "
                                  "Long\r\n    F = 1\r\nEnd Function\r\n");
    folder.write("Empty.bas", "");
    // Line feeds only, as a Unix checkout has them: kept as they are.
    folder.write("Unix.frm", "Private Function G()\n    G = 2\nEnd Function\n");
    const TreeSnapshot before = snapshotTree(folder.path());

    EXPECT_EQ(runCli({"remove", vbp.string()}).exitStatus, 0);
    EXPECT_EQ(runCli({"insert", "--mode", "0", vbp.string()}).exitStatus, 0);
    EXPECT_EQ(differences(before, snapshotTree(folder.path()), true), std::vector<std::string>{});
}

} // namespace
} // namespace faultward::reliability

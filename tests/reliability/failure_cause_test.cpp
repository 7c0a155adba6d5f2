// Failures named by their cause, on real files: a full disk, a file the user
// may not write; and a shared file that keeps its group.
#include "child_process.h"
#include "project_tree.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace faultward::reliability {
namespace {

const std::string kProcedure = "Private Sub Go()\r\n    Beep\r\nEnd Sub\r\n";

// A small disk of its own, mounted only where this process may (root).
class SmallDisk {
public:
    SmallDisk() : path_(folder_ / "disk") {
        fs::create_directory(path_);
        mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=256k") == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(path_.c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    const fs::path& path() const { return path_; }
    // Takes every block that is left.
    void fill() {
        const int fd = ::open((path_ / "filler").c_str(), O_WRONLY | O_CREAT, 0644);
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        while (::write(fd, block.data(), 1) > 0) {
        }
        ::close(fd);
    }

private:
    TempFolder folder_;
    fs::path path_;
    bool mounted_ = false;
};

TEST(FailureCauses, aFullDiskIsNamedAndEveryNameKeepsItsBytes) {
    SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no small disk can be mounted here";
    const fs::path& root = disk.path();
    writeFile(root / "App.vbp", "Module=A; A.bas\r\nModule=L; L.bas\r\n");
    writeFile(root / "A.bas", kProcedure);
    writeFile(root / "L.bas", kProcedure);
    fs::create_hard_link(root / "L.bas", root / "Link.bas");
    disk.fill();
    const TreeSnapshot before = snapshotTree(root);

    const ChildResult result = runCli({"insert", "--mode", "1", (root / "App.vbp").string()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "faultward-cli: A.bas: no space left on the disk\n"
                          "faultward-cli: L.bas: no space left on the disk\n");
    EXPECT_EQ(differences(before, snapshotTree(root), true), std::vector<std::string>{});
}

TEST(FailureCauses, aFileTheUserMayNotWriteIsPermissionDenied) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs a second user";
    TempFolder folder;
    const fs::path vbp = folder.write("App.vbp", "Module=A; A.bas\r\nModule=B; B.bas\r\n");
    folder.write("A.bas", kProcedure);
    folder.write("B.bas", kProcedure);
    giveTreeToChildUser(folder.path());
    ASSERT_EQ(::chown((folder / "A.bas").c_str(), 0, 0), 0); // 0644: the owner's alone
    const TreeSnapshot before = snapshotTree(folder.path());

    ChildOptions options;
    options.args = {"insert", "--mode", "1", vbp.string()};
    options.unprivileged = true;
    const ChildResult result = runChild(options);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "faultward-cli: A.bas: permission denied\n");
    EXPECT_EQ(differences(before, snapshotTree(folder.path()), true),
              std::vector<std::string>{"B.bas"});
}

TEST(SharedFiles, aMemberOfTheFileGroupKeepsTheGroupAndTheBits) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs a second user";
    constexpr gid_t kTeam = 100;
    TempFolder folder;
    const fs::path vbp = folder.write("App.vbp", "Module=A; A.bas\r\nModule=B; B.bas\r\n");
    folder.write("A.bas", kProcedure);
    folder.write("B.bas", kProcedure);
    fs::create_hard_link(folder / "B.bas", folder / "Link.bas");
    giveTreeToChildUser(folder.path());
    // root:team, the team may write the files and make new ones in the folder.
    for (const char* name : {"", "A.bas", "B.bas"})
        ASSERT_EQ(::chown((folder / name).c_str(), 0, kTeam), 0) << name;
    ASSERT_EQ(::chmod(folder.path().c_str(), 0775), 0);
    ASSERT_EQ(::chmod((folder / "A.bas").c_str(), 0664), 0);
    ASSERT_EQ(::chmod((folder / "B.bas").c_str(), 0660), 0);

    ChildOptions options;
    options.args = {"insert", "--mode", "1", vbp.string()};
    options.unprivileged = true;
    options.supplementaryGroups = {kTeam};
    const ChildResult result = runChild(options);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    for (const auto& [name, mode] : {std::pair{"A.bas", 0664}, {"B.bas", 0660}}) {
        struct stat info {};
        ASSERT_EQ(::stat((folder / name).c_str(), &info), 0);
        EXPECT_EQ(info.st_gid, kTeam) << name;
        EXPECT_EQ(info.st_mode & 07777, static_cast<mode_t>(mode)) << name;
        EXPECT_NE(readFile(folder / name).find("ON ERROR GOTO ERR_Go"), std::string::npos);
    }
}

} // namespace
} // namespace faultward::reliability

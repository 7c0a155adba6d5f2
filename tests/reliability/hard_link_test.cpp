// Files with more than one name (hard links): every name sees the new bytes,
// a failed write leaves every name with the old ones, and the copy of the old
// bytes that a run killed mid-write leaves behind is put back by the next run,
// unless the file was changed since.
#include "child_process.h"
#include "project_tree.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <poll.h>
#include <sched.h>
#include <sys/inotify.h>
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

// A large file with a second name, and the same file with handlers.
struct LinkedProject {
    TempFolder folder;
    TempFolder state; // the user's state folder, where the journal goes
    fs::path vbp;
    std::string original;
    std::string processed;

    LinkedProject() {
        vbp = folder.write("App.vbp", "Module=A; A.bas\r\n");
        // Many writes' worth, and within the line limit.
        for (int i = 0; i < 10000; ++i)
            original += kProcedure;
        folder.write("A.bas", original);
        fs::create_hard_link(folder / "A.bas", folder / "Link.bas");
        run({"insert", "--mode", "1", vbp.string()});
        processed = readFile(folder / "A.bas");
        overwrite(original);
    }

    ChildResult run(std::vector<std::string> args) const {
        ChildOptions options;
        options.args = std::move(args);
        options.environment = {"XDG_STATE_HOME=" + state.path().string()};
        return runChild(options);
    }

    // New bytes into the same file, which keeps its second name.
    void overwrite(const std::string& bytes) const {
        std::ofstream out(folder / "A.bas", std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    // Runs insert and kills it the moment it starts writing the file in
    // place; true when that left the file half written.
    bool interruptedInsert() const {
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ::inotify_add_watch(watch, (folder / "A.bas").c_str(), IN_MODIFY);
        ChildOptions options;
        options.args = {"insert", "--mode", "1", vbp.string()};
        options.environment = {"XDG_STATE_HOME=" + state.path().string()};
        options.yieldsToParent = true;
        // On the child's processor, so that the first change wakes this
        // process before the child writes much more.
        cpu_set_t kept;
        ::sched_getaffinity(0, sizeof kept, &kept);
        cpu_set_t first;
        CPU_ZERO(&first);
        CPU_SET(0, &first);
        ::sched_setaffinity(0, sizeof first, &first);
        ChildProcess child(options);
        pollfd change{watch, POLLIN, 0};
        const bool modified = ::poll(&change, 1, 60000) == 1;
        child.sendSignal(SIGKILL);
        ::sched_setaffinity(0, sizeof kept, &kept);
        child.wait();
        ::close(watch);
        const std::string now = readFile(folder / "A.bas");
        return modified && now != original && now != processed;
    }
};

bool hasLine(const std::string& text, const std::string& line) {
    return text.find(line + "\n") != std::string::npos;
}

// A run killed while it wrote a file in place left the file half written
// and its old bytes in a copy: the next run puts them back (every name sees
// them) and says so, then does its own work.
TEST(HardLinks, aRunKilledWhileWritingInPlaceIsPutBackByTheNext) {
    LinkedProject project;
    for (int attempt = 0; attempt < 5 && !project.interruptedInsert(); ++attempt)
        project.overwrite(project.original);
    const fs::path file = project.folder / "A.bas";
    ASSERT_TRUE(readFile(file) != project.original) << "the kill never fell inside the write";
    const ChildResult next = project.run({"insert", "--mode", "1", project.vbp.string()});
    EXPECT_EQ(next.exitStatus, 0) << next.err;
    EXPECT_TRUE(hasLine(next.err, "faultward-cli: The file " + file.string() +
                                      " was left half written by an interrupted run; its old "
                                      "contents have been put back."))
        << next.err;
    EXPECT_EQ(readFile(project.folder / "Link.bas"), project.processed);
    EXPECT_EQ(fs::hard_link_count(file), 2u);
    EXPECT_EQ(leftovers(project.folder.path()), std::vector<std::string>{});
    EXPECT_EQ(treeOf(project.state.path()), (std::map<std::string, std::string>{}));
}

// The same, but the user edited the half-written file before the next run:
// the edit is never written over, and the copy of the old bytes stays, named.
TEST(HardLinks, aFileEditedAfterTheKilledRunIsNamedNotPutBack) {
    LinkedProject project;
    for (int attempt = 0; attempt < 5 && !project.interruptedInsert(); ++attempt)
        project.overwrite(project.original);
    const fs::path file = project.folder / "A.bas";
    ASSERT_TRUE(readFile(file) != project.original) << "the kill never fell inside the write";
    std::ofstream(file, std::ios::app | std::ios::binary) << "' my own line\r\n";
    const std::vector<std::string> copies = leftovers(project.folder.path());
    ASSERT_EQ(copies.size(), 1u);

    const ChildResult next = project.run({"remove", project.vbp.string()});
    EXPECT_EQ(next.exitStatus, 0) << next.err;
    EXPECT_TRUE(hasLine(next.err, "faultward-cli: The file " + file.string() +
                                      " was changed after an interrupted run had begun to write "
                                      "it, so it was left as it is; its old contents are kept in " +
                                      (project.folder / copies[0]).string() + "."))
        << next.err;
    EXPECT_TRUE(readFile(file).ends_with("' my own line\r\n"));
    EXPECT_EQ(readFile(project.folder / copies[0]), project.original);
    EXPECT_EQ(leftovers(project.folder.path()), copies);
}

} // namespace
} // namespace faultward::reliability

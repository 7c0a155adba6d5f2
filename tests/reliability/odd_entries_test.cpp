// Entries that name something other than a writable regular file: each is
// reported with its reason, nothing hangs, nothing is created, nothing is lost,
// and the files around them are still processed.
#include "child_process.h"
#include "project_tree.h"
#include "rewrite/passes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace faultward::reliability {
namespace {

const std::string kProcedure = "Private Sub Command1_Click()\r\n    Beep\r\nEnd Sub\r\n";

bool isProcessed(const std::string& bytes) {
    return bytes.find("ON ERROR GOTO ERR_Command1_Click") != std::string::npos;
}

// Failures are named as each pass meets them; which pass that is does not matter here.
std::vector<std::string> sortedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

// A character device where a file should be: the zero device itself when
// this process may make device nodes, else a link to it.
void makeZeroDevice(const fs::path& path) {
    if (::mknod(path.c_str(), S_IFCHR | 0666, ::makedev(1, 5)) != 0)
        fs::create_symlink("/dev/zero", path);
}

TEST(OddEntries, specialFilesAreReportedNeverReadAndNothingIsCreated) {
    TempFolder folder;
    const fs::path vbp = folder.write(
        "App.vbp",
        "Form=Good.frm\r\nForm=Folder.frm\r\nModule=F; Fifo.bas\r\nModule=Z; Zero.bas\r\n"
        "Form=Dangling.frm\r\nModule=M; Missing.bas\r\nModule=R; ReadOnly.bas\r\n"
        "Form=Loop.frm\r\n");
    folder.write("Good.frm", kProcedure);
    fs::create_directory(folder / "Folder.frm");
    ASSERT_EQ(::mkfifo((folder / "Fifo.bas").c_str(), 0644), 0);
    makeZeroDevice(folder / "Zero.bas");
    fs::create_symlink("Missing.frm", folder / "Dangling.frm");
    fs::create_symlink("Loop.frm", folder / "Loop.frm");
    folder.write("ReadOnly.bas", kProcedure);
    fs::permissions(folder / "ReadOnly.bas",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    // Bytes waiting in the FIFO would be consumed by anything that read it.
    const int fifo = ::open((folder / "Fifo.bas").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(fifo, 0);
    ASSERT_EQ(::write(fifo, kProcedure.data(), kProcedure.size()),
              static_cast<ssize_t>(kProcedure.size()));
    const TreeSnapshot before = snapshotTree(folder.path());

    const ChildResult inserted = runCli({"insert", "--mode", "1", vbp.string()});
    EXPECT_FALSE(inserted.hung);
    EXPECT_EQ(inserted.exitStatus, 1);
    EXPECT_EQ(sortedLines(inserted.err), (std::vector<std::string>{
                                             "faultward-cli: Dangling.frm: not found",
                                             "faultward-cli: Fifo.bas: not a regular file",
                                             "faultward-cli: Folder.frm: is a folder",
                                             "faultward-cli: Loop.frm: not found",
                                             "faultward-cli: Missing.bas: not found",
                                             "faultward-cli: ReadOnly.bas: not writable",
                                             "faultward-cli: Zero.bas: not a regular file",
                                         }));
    const TreeSnapshot after = snapshotTree(folder.path());
    EXPECT_EQ(differences(before, after, true), std::vector<std::string>{"Good.frm"});
    EXPECT_TRUE(isProcessed(after.at("Good.frm").bytes));

    std::string waiting(kProcedure.size() + 1, '\0');
    EXPECT_EQ(::read(fifo, waiting.data(), waiting.size()),
              static_cast<ssize_t>(kProcedure.size()));
    ::close(fifo);
}

TEST(OddEntries, foldersAndFilesTheUserMayNotTouchAreLeftAlone) {
    TempFolder folder;
    const fs::path vbp = folder.write(
        "App.vbp", "Module=L; Locked\\Module1.bas\r\nModule=S; Secret.bas\r\nForm=Good.frm\r\n");
    folder.write("Locked/Module1.bas", kProcedure);
    folder.write("Secret.bas", kProcedure);
    folder.write("Good.frm", kProcedure);
    giveTreeToChildUser(folder.path());
    fs::permissions(folder / "Locked", fs::perms::owner_read | fs::perms::owner_exec |
                                           fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(folder / "Secret.bas", fs::perms::none);
    const TreeSnapshot before = snapshotTree(folder.path());

    ChildOptions options;
    options.args = {"insert", "--mode", "0", vbp.string()};
    options.unprivileged = true;
    const ChildResult result = runChild(options);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(sortedLines(result.err),
              (std::vector<std::string>{
                  "faultward-cli: Locked\\Module1.bas: permission denied on its folder",
                  "faultward-cli: Secret.bas: permission denied",
              }));
    const TreeSnapshot after = snapshotTree(folder.path());
    EXPECT_EQ(differences(before, after, true), std::vector<std::string>{"Good.frm"});
    EXPECT_TRUE(isProcessed(after.at("Good.frm").bytes));
}

// Removes or replaces files as the insertion pass reaches them, the way another
// program might between the reading of the list and the pass.
class Vandal : public PassObserver {
public:
    explicit Vandal(const fs::path& folder) : folder_(folder) {}
    // Strikes while the first file is being processed, before the pass reads the others.
    void entryMadeCurrent(int index) override {
        if (index != 0)
            return;
        fs::remove(folder_ / "B.bas");
        fs::remove(folder_ / "C.bas");
        fs::create_directory(folder_ / "C.bas");
    }
    void fileProcessed(int, std::string_view entry, FileOutcome outcome) override {
        outcomes.emplace_back(std::string(entry) + ": " + std::string(describe(outcome)));
    }
    std::vector<std::string> outcomes;

private:
    fs::path folder_;
};

TEST(OddEntries, filesGoneOrReplacedAfterTheListIsMadeAreReportedNotRecreated) {
    TempFolder folder;
    const std::vector<ListEntry> entries = {{"A.bas"}, {"B.bas"}, {"C.bas"}, {"D.bas"}};
    for (const ListEntry& entry : entries)
        folder.write(entry.text, kProcedure);
    PassObserver quiet;
    runRemovalPass(entries, folder.path(), quiet);

    Vandal vandal(folder.path());
    runInsertionPass(entries, folder.path(), InsertionOptions(HandlingMode::ShowMessage), vandal);
    EXPECT_EQ(vandal.outcomes,
              (std::vector<std::string>{"A.bas: rewritten", "B.bas: not found",
                                        "C.bas: is a folder", "D.bas: rewritten"}));
    const TreeSnapshot after = snapshotTree(folder.path());
    EXPECT_FALSE(after.count("B.bas"));
    EXPECT_EQ(after.at("C.bas").type, static_cast<mode_t>(S_IFDIR));
    EXPECT_TRUE(isProcessed(after.at("D.bas").bytes));
    EXPECT_EQ(temporariesIn(after), std::vector<std::string>{});
}

} // namespace
} // namespace faultward::reliability

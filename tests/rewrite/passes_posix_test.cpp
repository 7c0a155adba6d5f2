// The passes on what only a POSIX system has: FIFOs, symbolic links anyone
// may make, permission bits and inode numbers, and 8-bit names stored as UTF-8.
#include "recording_observer.h"
#include "rewrite/passes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {


TEST(Passes, windowsStyleEntriesResolveAgainstTheProjectFolder) {
    TempFolder folder;
    folder.write("Forms/Main.frm", kOneSubSource);
    folder.write("lib/Util.bas", kOneSubSource);
    folder.write("caf\xc3\xa9.bas", kOneSubSource); // a 1252 name as it lands on Linux
    const std::vector<ListEntry> entries = {
        {"forms\\MAIN.FRM", true},
        {"..\\" + folder.path().filename().string() + "\\lib\\util.bas", true},
        {"caf\xe9.bas", true},
        {"C:\\Windows\\x.bas", true},
        {"missing.bas", true}};
    RecordingObserver observer;
    runInsertionPass(entries, folder.path(), InsertionOptions(HandlingMode::ResumeNext), observer);
    ASSERT_EQ(observer.outcomes.size(), 5u);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::Rewritten);
    EXPECT_EQ(observer.outcomes[1].second, FileOutcome::Rewritten);
    EXPECT_EQ(observer.outcomes[2].second, FileOutcome::Rewritten);
    EXPECT_EQ(observer.outcomes[3].second, FileOutcome::NotFound);
    EXPECT_EQ(observer.outcomes[4].second, FileOutcome::NotFound);
    EXPECT_FALSE(fs::exists(folder / "missing.bas"));
}

TEST(Passes, folderOrFifoInPlaceOfAFileIsNeverOpened) {
    TempFolder folder;
    fs::create_directory(folder / "Dir.bas");
    ASSERT_EQ(::mkfifo((folder / "Pipe.bas").c_str(), 0644), 0);
    RecordingObserver observer;
    runRemovalPass(std::vector<ListEntry>{{"Dir.bas", true}, {"Pipe.bas", true}}, folder.path(),
                   observer);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::IsFolder);
    EXPECT_EQ(observer.outcomes[1].second, FileOutcome::NotRegularFile);
    EXPECT_TRUE(fs::is_fifo(folder / "Pipe.bas"));
}

TEST(Passes, symlinkIsFollowedAndStaysALink) {
    TempFolder folder;
    const fs::path target = folder.write("real/Target.bas", kOneSubSource);
    fs::create_symlink("real/Target.bas", folder / "Link.bas");
    fs::create_symlink("real/none.bas", folder / "Dangling.bas");
    RecordingObserver observer;
    runInsertionPass(std::vector<ListEntry>{{"Dangling.bas", true}, {"Link.bas", true}},
                     folder.path(), InsertionOptions(HandlingMode::ResumeNext), observer);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::NotFound);
    EXPECT_EQ(observer.outcomes[1].second, FileOutcome::Rewritten);
    EXPECT_TRUE(fs::is_symlink(folder / "Link.bas"));
    EXPECT_NE(readFile(target).find("ON ERROR GOTO ERR_A"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "real" / "none.bas"));
}

TEST(Passes, rewriteKeepsPermissionBitsAndLeavesNoTemporary) {
    TempFolder folder;
    const fs::path file = folder.write("a.bas", kOneSubSource);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    RecordingObserver observer;
    runInsertionPass(std::vector<ListEntry>{{"a.bas", true}}, folder.path(),
                     InsertionOptions(HandlingMode::ResumeNext), observer);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(Passes, unchangedFileIsNotRewritten) {
    TempFolder folder;
    const fs::path file = folder.write("a.bas", kOneSubSource);
    struct stat before {};
    ::stat(file.c_str(), &before);
    RecordingObserver observer;
    runRemovalPass(std::vector<ListEntry>{{"a.bas", true}}, folder.path(), observer);
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::Unchanged);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

} // namespace
} // namespace faultward

#include "app/pass_driver.h"
#include "platform/source_file.h"
#include "rewrite/passes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using faultward::testing::crlf;
using faultward::testing::readFile;
using faultward::testing::TempFolder;
namespace fs = std::filesystem;

namespace faultward {
namespace {

// Records every call in order, as "kind:args".
class RecordingObserver : public PassObserver {
public:
    void passStarted(PassKind kind, int minimum, int maximum) override {
        log("start", std::to_string(kind == PassKind::Insertion) + "," + std::to_string(minimum) +
                         "," + std::to_string(maximum));
    }
    void entryMadeCurrent(int index) override { log("current", std::to_string(index)); }
    void progressValue(int value) override { log("value", std::to_string(value)); }
    void lineLimitExceeded(int, std::string_view message) override {
        messages.emplace_back(message);
    }
    void fileProcessed(int index, std::string_view, FileOutcome outcome) override {
        outcomes.emplace_back(index, outcome);
        log("file", std::to_string(index) + "=" + std::string(describe(outcome)));
    }
    void passFinished(PassKind) override { log("end", ""); }

    std::vector<std::string> calls;
    std::vector<std::string> messages;
    std::vector<std::pair<int, FileOutcome>> outcomes;

private:
    void log(const std::string& what, const std::string& args) {
        calls.push_back(what + ":" + args);
    }
};

const std::string kSource = crlf({"Sub A()", "End Sub"});

TEST(Passes, reportInListOrderWithProgressBounds) {
    TempFolder folder;
    folder.write("a.bas", kSource);
    folder.write("b.bas", kSource);
    const std::vector<ListEntry> entries = {{"a.bas", true}, {"b.bas", false}};
    RecordingObserver insertion;
    runInsertionPass(entries, folder.path(), 1, insertion);
    EXPECT_EQ(insertion.calls,
              (std::vector<std::string>{"start:1,0,1", "current:0", "file:0=rewritten", "value:0",
                                        "current:1", "value:1", "end:"}));
    RecordingObserver removal;
    runRemovalPass(entries, folder.path(), removal);
    EXPECT_EQ(removal.calls.front(), "start:0,0,2");
    EXPECT_EQ(readFile(folder / "a.bas"), kSource);
    EXPECT_EQ(readFile(folder / "b.bas"), kSource);
}

TEST(Passes, emptyListOnlyStartsAndFinishes) {
    RecordingObserver observer;
    runInsertionPass({}, "/nonexistent", 0, observer);
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"start:1,0,-1", "end:"}));
}

TEST(Passes, nameCarriesAcrossFilesInListOrder) {
    TempFolder folder;
    folder.write("A.bas", crlf({"Sub FromA()", "End Sub"}));
    folder.write("b.bas", crlf({"Private Static Sub Hidden()", "End Sub"}));
    RecordingObserver observer;
    runInsertionPass(std::vector<ListEntry>{{"A.bas", true}, {"b.bas", true}}, folder.path(), 1,
                     observer);
    EXPECT_NE(readFile(folder / "b.bas").find("ERR_FromA:"), std::string::npos);
}

TEST(Passes, lineLimitMessageTextAndRestKept) {
    TempFolder folder;
    std::string big = "Sub A()\r\n";
    for (int i = 0; i < 32000; ++i)
        big += "End Sub\r\n";
    folder.write("Big.bas", big);
    RecordingObserver observer;
    runInsertionPass(std::vector<ListEntry>{{"Big.bas", true}}, folder.path(), 1, observer);
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0],
              "The file Big.bas has exceeded 32000 lines of code!  Error handling cannot be "
              "inserted for the rest of this file.  Please reduce the number lines in this file "
              "and try again.");
    const std::string out = readFile(folder / "Big.bas");
    EXPECT_TRUE(out.ends_with("RESUME NEXT  '~Faultward~\r\nEnd Sub\r\nEnd Sub\r\n"));
}

TEST(Passes, windowsStyleEntriesResolveAgainstTheProjectFolder) {
    TempFolder folder;
    folder.write("Forms/Main.frm", kSource);
    folder.write("lib/Util.bas", kSource);
    folder.write("caf\xc3\xa9.bas", kSource); // a 1252 name as it lands on Linux
    const std::vector<ListEntry> entries = {
        {"forms\\MAIN.FRM", true},
        {"..\\" + folder.path().filename().string() + "\\lib\\util.bas", true},
        {"caf\xe9.bas", true},
        {"C:\\Windows\\x.bas", true},
        {"missing.bas", true}};
    RecordingObserver observer;
    runInsertionPass(entries, folder.path(), 1, observer);
    ASSERT_EQ(observer.outcomes.size(), 5u);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::Rewritten);
    EXPECT_EQ(observer.outcomes[1].second, FileOutcome::Rewritten);
    EXPECT_EQ(observer.outcomes[2].second, FileOutcome::Rewritten);
    EXPECT_EQ(observer.outcomes[3].second, FileOutcome::NotFound);
    EXPECT_EQ(observer.outcomes[4].second, FileOutcome::NotFound);
    EXPECT_FALSE(fs::exists(folder / "missing.bas"));
}

// The later spellings meet the file already rewritten, which is a new inode.
TEST(Passes, fileNamedThreeWays_isProcessedOnce) {
    TempFolder folder;
    folder.write("Mod.bas", kSource);
    RecordingObserver observer;
    runInsertionPass(
        std::vector<ListEntry>{{"Mod.bas", true}, {"mod.BAS", true}, {".\\Mod.bas", true}},
        folder.path(), 1, observer);
    ASSERT_EQ(observer.outcomes.size(), 3u);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::Rewritten);
    EXPECT_EQ(observer.outcomes[1].second, FileOutcome::SameFileAsBefore);
    EXPECT_EQ(observer.outcomes[2].second, FileOutcome::SameFileAsBefore);
    const std::string out = readFile(folder / "Mod.bas");
    EXPECT_EQ(out.find("ON ERROR"), out.rfind("ON ERROR"));
}

TEST(Passes, eventsKeepListOrderAcrossWritesFailuresAndUnselectedEntries) {
    TempFolder folder;
    folder.write("a.bas", kSource);
    folder.write("b.bas", kSource);
    folder.write("d.bas", kSource);
    folder.write("e.bas", crlf({"Function F()", "End Function"}));
    const std::vector<ListEntry> entries = {
        {"a.bas", true}, {"b.bas", false}, {"c.bas", true}, {"d.bas", true}, {"e.bas", true}};
    RecordingObserver observer;
    runInsertionPass(entries, folder.path(), 1, observer);
    EXPECT_EQ(observer.calls,
              (std::vector<std::string>{"start:1,0,4", "current:0", "file:0=rewritten", "value:0",
                                        "current:1", "value:1", "current:2", "file:2=not found",
                                        "value:2", "current:3", "file:3=rewritten", "value:3",
                                        "current:4", "file:4=unchanged", "value:4", "end:"}));
    EXPECT_EQ(readFile(folder / "b.bas"), kSource);
    EXPECT_NE(readFile(folder / "d.bas").find("ERR_A:"), std::string::npos);
}

// Every other line goes, so the new contents are thousands of separate runs,
// more than one gathered write takes.
TEST(Passes, fileOfManyRunsIsWrittenWhole) {
    TempFolder folder;
    std::string marked;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string kept = "    n = " + std::to_string(i) + "\r\n";
        marked += kept + "x  '~Faultward~\r\n";
        expected += kept;
    }
    const fs::path file = folder.write("big.bas", marked);
    RecordingObserver observer;
    runRemovalPass(std::vector<ListEntry>{{"big.bas", true}}, folder.path(), observer);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::Rewritten);
    EXPECT_EQ(readFile(file), expected);
}

TEST(Passes, readOnlyFileKeepsItsBytesAndLaterFilesGoOn) {
    TempFolder folder;
    const fs::path locked = folder.write("a.bas", kSource);
    folder.write("b.bas", kSource);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    RecordingObserver observer;
    runInsertionPass(std::vector<ListEntry>{{"a.bas", true}, {"b.bas", true}}, folder.path(), 1,
                     observer);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::NotWritable);
    EXPECT_EQ(readFile(locked), kSource);
    EXPECT_EQ(observer.outcomes[1].second, FileOutcome::Rewritten);
}

TEST(Passes, folderOrFifoInPlaceOfAFileIsNeverOpened) {
    TempFolder folder;
    fs::create_directory(folder / "Dir.bas");
    ASSERT_EQ(::mkfifo((folder / "Pipe.bas").c_str(), 0644), 0);
    RecordingObserver observer;
    runRemovalPass(std::vector<ListEntry>{{"Dir.bas", true}, {"Pipe.bas", true}}, folder.path(),
                   observer);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::NotRegularFile);
    EXPECT_EQ(observer.outcomes[1].second, FileOutcome::NotRegularFile);
    EXPECT_TRUE(fs::is_fifo(folder / "Pipe.bas"));
}

TEST(Passes, symlinkIsFollowedAndStaysALink) {
    TempFolder folder;
    const fs::path target = folder.write("real/Target.bas", kSource);
    fs::create_symlink("real/Target.bas", folder / "Link.bas");
    fs::create_symlink("real/none.bas", folder / "Dangling.bas");
    RecordingObserver observer;
    runInsertionPass(std::vector<ListEntry>{{"Dangling.bas", true}, {"Link.bas", true}},
                     folder.path(), 1, observer);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::NotFound);
    EXPECT_EQ(observer.outcomes[1].second, FileOutcome::Rewritten);
    EXPECT_TRUE(fs::is_symlink(folder / "Link.bas"));
    EXPECT_NE(readFile(target).find("ON ERROR GOTO ERR_A"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "real" / "none.bas"));
}

TEST(Passes, rewriteKeepsPermissionBitsAndLeavesNoTemporary) {
    TempFolder folder;
    const fs::path file = folder.write("a.bas", kSource);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    RecordingObserver observer;
    runInsertionPass(std::vector<ListEntry>{{"a.bas", true}}, folder.path(), 1, observer);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(Passes, unchangedFileIsNotRewritten) {
    TempFolder folder;
    const fs::path file = folder.write("a.bas", kSource);
    struct stat before {};
    ::stat(file.c_str(), &before);
    RecordingObserver observer;
    runRemovalPass(std::vector<ListEntry>{{"a.bas", true}}, folder.path(), observer);
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::Unchanged);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST(FailureCollector, recordsEachEntryOnceAndOnlyFailures) {
    FailureCollector failures;
    EXPECT_FALSE(failures.record(0, "a.bas", FileOutcome::Rewritten));
    EXPECT_TRUE(failures.record(1, "b.bas", FileOutcome::NotWritable));
    EXPECT_FALSE(failures.record(1, "b.bas", FileOutcome::NotWritable));
    EXPECT_TRUE(failures.record(2, "c.bas", FileOutcome::NotFound));
    ASSERT_EQ(failures.failures().size(), 2u);
    EXPECT_EQ(failures.failures()[0].entry, "b.bas");
    EXPECT_EQ(failures.failures()[0].outcome, FileOutcome::NotWritable);
    EXPECT_EQ(failures.failures()[1].entry, "c.bas");
    EXPECT_EQ(failures.failures()[1].outcome, FileOutcome::NotFound);
}

} // namespace
} // namespace faultward

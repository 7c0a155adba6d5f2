#include "platform/source_file.h"
#include "recording_observer.h"
#include "rewrite/passes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

TEST(Passes, reportInListOrderWithProgressBounds) {
    TempFolder folder;
    folder.write("a.bas", kOneSubSource);
    folder.write("b.bas", kOneSubSource);
    const std::vector<ListEntry> entries = {{"a.bas", true}, {"b.bas", false}};
    RecordingObserver insertion;
    runInsertionPass(entries, folder.path(), InsertionOptions(HandlingMode::ResumeNext), insertion);
    EXPECT_EQ(insertion.calls,
              (std::vector<std::string>{"start:1,0,1", "current:0", "file:0=rewritten", "value:0",
                                        "current:1", "value:1", "end:"}));
    RecordingObserver removal;
    runRemovalPass(entries, folder.path(), removal);
    EXPECT_EQ(removal.calls.front(), "start:0,0,2");
    EXPECT_EQ(readFile(folder / "a.bas"), kOneSubSource);
    EXPECT_EQ(readFile(folder / "b.bas"), kOneSubSource);
}

TEST(Passes, emptyListOnlyStartsAndFinishes) {
    RecordingObserver observer;
    runInsertionPass({}, std::filesystem::path("/nonexistent"),
                     InsertionOptions(HandlingMode::ShowMessage), observer);
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"start:1,0,-1", "end:"}));
}

TEST(Passes, nameCarriesAcrossFilesInListOrder) {
    TempFolder folder;
    folder.write("A.bas", crlf({"Sub FromA()", "End Sub"}));
    folder.write("b.bas", crlf({"Private Static Sub Hidden()", "End Sub"}));
    RecordingObserver observer;
    runInsertionPass(std::vector<ListEntry>{{"A.bas", true}, {"b.bas", true}}, folder.path(),
                     InsertionOptions(HandlingMode::ResumeNext), observer);
    EXPECT_NE(readFile(folder / "b.bas").find("ERR_FromA:"), std::string::npos);
}

TEST(Passes, lineLimitNamesTheEntryAndKeepsTheRest) {
    TempFolder folder;
    std::string big = "Sub A()\r\n";
    for (int i = 0; i < 32000; ++i)
        big += "End Sub\r\n";
    folder.write("Big.bas", big);
    RecordingObserver observer;
    runInsertionPass(std::vector<ListEntry>{{"Big.bas", true}}, folder.path(),
                     InsertionOptions(HandlingMode::ResumeNext), observer);
    ASSERT_EQ(observer.overLimit, std::vector<std::string>{"Big.bas"});
    const std::string out = readFile(folder / "Big.bas");
    EXPECT_TRUE(out.ends_with("RESUME NEXT  '~Faultward~\r\nEnd Sub\r\nEnd Sub\r\n"));
}

// The later spellings meet the file already rewritten, which is a new inode.
TEST(Passes, fileNamedThreeWays_isProcessedOnce) {
    TempFolder folder;
    folder.write("Mod.bas", kOneSubSource);
    RecordingObserver observer;
    runInsertionPass(
        std::vector<ListEntry>{{"Mod.bas", true}, {"mod.BAS", true}, {".\\Mod.bas", true}},
        folder.path(), InsertionOptions(HandlingMode::ResumeNext), observer);
    ASSERT_EQ(observer.outcomes.size(), 3u);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::Rewritten);
    EXPECT_EQ(observer.outcomes[1].second, FileOutcome::SameFileAsBefore);
    EXPECT_EQ(observer.outcomes[2].second, FileOutcome::SameFileAsBefore);
    const std::string out = readFile(folder / "Mod.bas");
    EXPECT_EQ(out.find("ON ERROR"), out.rfind("ON ERROR"));
}

TEST(Passes, eventsKeepListOrderAcrossWritesFailuresAndUnselectedEntries) {
    TempFolder folder;
    folder.write("a.bas", kOneSubSource);
    folder.write("b.bas", kOneSubSource);
    folder.write("d.bas", kOneSubSource);
    folder.write("e.bas", crlf({"Function F()", "End Function"}));
    const std::vector<ListEntry> entries = {
        {"a.bas", true}, {"b.bas", false}, {"c.bas", true}, {"d.bas", true}, {"e.bas", true}};
    RecordingObserver observer;
    runInsertionPass(entries, folder.path(), InsertionOptions(HandlingMode::ResumeNext), observer);
    EXPECT_EQ(observer.calls,
              (std::vector<std::string>{"start:1,0,4", "current:0", "file:0=rewritten", "value:0",
                                        "current:1", "value:1", "current:2", "file:2=not found",
                                        "value:2", "current:3", "file:3=rewritten", "value:3",
                                        "current:4", "file:4=unchanged", "value:4", "end:"}));
    EXPECT_EQ(readFile(folder / "b.bas"), kOneSubSource);
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
    const fs::path locked = folder.write("a.bas", kOneSubSource);
    folder.write("b.bas", kOneSubSource);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    RecordingObserver observer;
    runInsertionPass(std::vector<ListEntry>{{"a.bas", true}, {"b.bas", true}}, folder.path(),
                     InsertionOptions(HandlingMode::ResumeNext), observer);
    EXPECT_EQ(observer.outcomes[0].second, FileOutcome::NotWritable);
    EXPECT_EQ(readFile(locked), kOneSubSource);
    EXPECT_EQ(observer.outcomes[1].second, FileOutcome::Rewritten);
}

} // namespace
} // namespace faultward

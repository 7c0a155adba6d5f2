// Reading and replacing files through the Windows API: the bytes, the
// replace over an existing file, the read-only attribute, file identity,
// paths beyond MAX_PATH and device names.
#include "held_file.h"
#include "outcome_list.h"
#include "platform/run_journal.h"
#include "platform/source_file.h"
#include "platform/win32_long_path.h"
#include "rewrite/passes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

using faultward::testing::createFoldersAtAnyLength;
using faultward::testing::temporariesIn;
namespace fs = std::filesystem;

namespace faultward {
namespace {

using Outcomes = testing::OutcomeList;

std::vector<FileOutcome> insertInto(const fs::path& folder, std::vector<ListEntry> entries) {
    Outcomes outcomes;
    runInsertionPass(entries, folder, InsertionOptions(HandlingMode::ResumeNext), outcomes);
    return outcomes.list;
}

// The C runtime reads in text mode unless told otherwise: CR LF would arrive
// as LF and a Ctrl-Z would end the file.
TEST(WindowsFiles, everyByteIsReadAsItIsOnDisk) {
    TempFolder folder;
    const std::string bytes = std::string("a\r\nb\rc\nd\x1a"
                                          "e\0f\r\n\xff",
                                          15);
    const fs::path file = folder.write("odd.bas", bytes);
    std::string read;
    ASSERT_EQ(readRegularFile(file, read), ReadStatus::Ok);
    EXPECT_EQ(read, bytes);
}

TEST(WindowsFiles, aRemovalKeepsWhatFollowsACtrlZ) {
    TempFolder folder;
    folder.write("z.bas", "Sub A()\r\nx  '~Faultward~\r\n\x1a\r\nEnd Sub\r\n");
    Outcomes outcomes;
    runRemovalPass(std::vector<ListEntry>{{"z.bas", true}}, folder.path(), outcomes);
    EXPECT_EQ(outcomes.list, std::vector{FileOutcome::Rewritten});
    EXPECT_EQ(readFile(folder / "z.bas"), "Sub A()\r\n\x1a\r\nEnd Sub\r\n");
}

// rename() of the C runtime fails when the target exists, which every
// rewrite's target does.
TEST(WindowsFiles, replacingAnExistingFileWorksAgainAndAgainAndLeavesNoTemporary) {
    TempFolder folder;
    const fs::path file = folder.write("a.bas", "first");
    for (const std::string next : {"second", "third, longer than the second", ""}) {
        ASSERT_EQ(replaceFileContents(file, next), WriteStatus::Ok);
        EXPECT_EQ(readFile(file), next);
    }
    EXPECT_TRUE(temporariesIn(folder.path()).empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(WindowsFiles, readOnlyAttributeRefusesTheWriteAndKeepsTheBytes) {
    TempFolder folder;
    const fs::path file = folder.write("a.bas", kOneSubSource);
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(replaceFileContents(file, "changed"), WriteStatus::NotWritable);
    EXPECT_EQ(insertInto(folder.path(), {{"a.bas", true}}), std::vector{FileOutcome::NotWritable});
    EXPECT_EQ(readFile(file), kOneSubSource);
    EXPECT_TRUE(temporariesIn(folder.path()).empty());
    EXPECT_TRUE(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
}

// A replace would give the new bytes to one name only.
TEST(WindowsFiles, aFileWithTwoNamesIsWrittenInPlaceForBoth) {
    TempFolder folder;
    const fs::path file = folder.write("a.bas", kOneSubSource);
    const fs::path link = folder / "b.bas";
    ASSERT_TRUE(::CreateHardLinkW(link.c_str(), file.c_str(), nullptr));
    FileIdentity before, after;
    ASSERT_EQ(identifyFile(file, before), ReadStatus::Ok);
    for (const std::string next : {"a longer second text", "", "third"}) {
        ASSERT_EQ(replaceFileContents(file, next, &after), WriteStatus::Ok);
        EXPECT_EQ(readFile(link), next);
        EXPECT_EQ(after, before);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

// stat() gives every file the inode number 0 here: with it, every file after
// the first would look like one already processed.
TEST(WindowsFiles, identityTellsFilesApartAndKnowsOneFileByAnyName) {
    TempFolder folder;
    folder.write("sub/A.bas", kOneSubSource);
    folder.write("sub/B.bas", kOneSubSource);
    std::string bytes;
    FileIdentity a, b, aAgain;
    ASSERT_EQ(readRegularFile(folder / "sub" / "A.bas", bytes, &a), ReadStatus::Ok);
    ASSERT_EQ(readRegularFile(folder / "sub" / "B.bas", bytes, &b), ReadStatus::Ok);
    ASSERT_EQ(readRegularFile(folder.path() / L"SUB\\..\\sub\\a.BAS", bytes, &aAgain),
              ReadStatus::Ok);
    EXPECT_NE(a, b);
    EXPECT_NE(a.file, 0u);
    EXPECT_EQ(a, aAgain);

    EXPECT_EQ(insertInto(folder.path(), {{"sub\\A.bas", true},
                                         {"sub\\B.bas", true},
                                         {"SUB\\a.bas", true},
                                         {"sub/b.BAS", true}}),
              (std::vector{FileOutcome::Rewritten, FileOutcome::Rewritten,
                           FileOutcome::SameFileAsBefore, FileOutcome::SameFileAsBefore}));
}

// A rename over the file would give it the entry's letter case, which a
// version control system then reports as a file deleted and another added.
TEST(WindowsFiles, rewriteKeepsTheNameAsTheFolderHoldsIt) {
    TempFolder folder;
    folder.write("MixedCase.BAS", kOneSubSource);
    EXPECT_EQ(insertInto(folder.path(), {{"mixedCASE.bas", true}}),
              std::vector{FileOutcome::Rewritten});
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"MixedCase.BAS"});
}

TEST(WindowsFiles, unchangedFileIsNotRewritten) {
    TempFolder folder;
    const fs::path file = folder.write("a.bas", kOneSubSource);
    const auto old = fs::last_write_time(file) - std::chrono::hours(24 * 365);
    fs::last_write_time(file, old);
    Outcomes outcomes;
    runRemovalPass(std::vector<ListEntry>{{"a.bas", true}}, folder.path(), outcomes);
    EXPECT_EQ(outcomes.list, std::vector{FileOutcome::Unchanged});
    EXPECT_EQ(fs::last_write_time(file), old);
}

// A project deep in a tree: every call must take paths beyond 260 characters.
TEST(WindowsFiles, pathsLongerThanMaxPathAreReadAndReplaced) {
    TempFolder folder;
    std::wstring deep = win32::extendedPath(folder.path());
    for (int level = 0; level < 8; ++level)
        deep += L"\\" + std::wstring(40, static_cast<wchar_t>(L'a' + level));
    createFoldersAtAnyLength(deep);
    const fs::path project(deep);
    ASSERT_GT(project.native().size(), MAX_PATH + 50);

    ASSERT_EQ(createOrReplaceFile(project / "M.bas", kOneSubSource), WriteStatus::Ok);
    std::string bytes;
    ASSERT_EQ(readRegularFile(project / "M.bas", bytes), ReadStatus::Ok);
    EXPECT_EQ(bytes, kOneSubSource);
    EXPECT_EQ(
        insertInto(project, {{"m.bas", true}, {"..\\" + std::string(40, 'h') + "\\M.bas", true}}),
        (std::vector{FileOutcome::Rewritten, FileOutcome::SameFileAsBefore}));
    ASSERT_EQ(readRegularFile(project / "M.bas", bytes), ReadStatus::Ok);
    EXPECT_NE(bytes.find("ON ERROR GOTO ERR_A"), std::string::npos);
    // Must not trip over the length either.
    EXPECT_TRUE(RunJournal::ofThisProcess().leftoversIn(project, true).empty());
    EXPECT_TRUE(temporariesIn(project).empty());
}

// NUL.bas and COM1.frm name devices, not files; opening COM1 would even
// change a serial line's state.
TEST(WindowsFiles, deviceNamesAreNeverOpened) {
    TempFolder folder;
    EXPECT_EQ(insertInto(folder.path(), {{"NUL.bas", true}, {"con.frm", true}, {"COM1.bas", true}}),
              (std::vector{FileOutcome::NotRegularFile, FileOutcome::NotRegularFile,
                           FileOutcome::NotRegularFile}));
    std::string bytes;
    EXPECT_EQ(readRegularFile("NUL", bytes), ReadStatus::NotRegularFile);
    EXPECT_EQ(replaceFileContents(folder / "nul.bas", "x"), WriteStatus::NotWritable);
}

} // namespace
} // namespace faultward

// A file another program holds open: waited for briefly, then reported as in
// use, with the file untouched.
#include "held_file.h"
#include "outcome_list.h"
#include "platform/source_file.h"
#include "rewrite/passes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

using faultward::testing::HeldFile;
using faultward::testing::temporariesIn;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace faultward {
namespace {

using Outcomes = testing::OutcomeList;

TEST(FileInUse, heldWithoutSharingIsReportedAsInUseAfterWaiting) {
    TempFolder folder;
    const fs::path file = folder.write("a.bas", kOneSubSource);
    folder.write("b.bas", kOneSubSource);
    HeldFile holder(file, 0);
    ASSERT_TRUE(holder.held());

    std::string bytes;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(readRegularFile(file, bytes), ReadStatus::InUse);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 500ms); // it was retried
    EXPECT_EQ(replaceFileContents(file, "x"), WriteStatus::InUse);

    Outcomes outcomes;
    runInsertionPass(std::vector<ListEntry>{{"a.bas", true}, {"b.bas", true}}, folder.path(),
                     InsertionOptions(HandlingMode::ResumeNext), outcomes);
    EXPECT_EQ(outcomes.list, (std::vector{FileOutcome::InUse, FileOutcome::Rewritten}));
    EXPECT_EQ(describe(FileOutcome::InUse), "in use by another program");
    EXPECT_TRUE(isFailure(FileOutcome::InUse));
    EXPECT_TRUE(temporariesIn(folder.path()).empty());
}

// Readers that share reading only (an editor keeping the file open) let the
// file be read but not replaced; the bytes stay as they were.
TEST(FileInUse, heldForReadingOnlyIsReadButNotReplaced) {
    TempFolder folder;
    const fs::path file = folder.write("a.bas", kOneSubSource);
    {
        HeldFile holder(file, FILE_SHARE_READ);
        ASSERT_TRUE(holder.held());
        std::string bytes;
        EXPECT_EQ(readRegularFile(file, bytes), ReadStatus::Ok);
        EXPECT_EQ(bytes, kOneSubSource);
        EXPECT_EQ(replaceFileContents(file, "x"), WriteStatus::InUse);
        EXPECT_TRUE(temporariesIn(folder.path()).empty());
    }
    EXPECT_EQ(readFile(file), kOneSubSource);
}

// A virus scanner looks at a file for a moment; the rewrite waits for it.
TEST(FileInUse, aHolderThatLetsGoSoonIsWaitedFor) {
    TempFolder folder;
    const fs::path file = folder.write("a.bas", kOneSubSource);
    {
        HeldFile holder(file, 0);
        ASSERT_TRUE(holder.held());
        holder.letGoAfter(150ms);
        std::string bytes;
        EXPECT_EQ(readRegularFile(file, bytes), ReadStatus::Ok);
    }
    {
        HeldFile holder(file, 0);
        holder.letGoAfter(150ms);
        EXPECT_EQ(replaceFileContents(file, "new"), WriteStatus::Ok);
    }
    EXPECT_EQ(readFile(file), "new");
}

} // namespace
} // namespace faultward

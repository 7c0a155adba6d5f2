#include "app/commands/pass_driver.h"
#include "rewrite/transforms.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace faultward {
namespace {

// The insertion pass of a dry run must read what its removal pass would have
// left, or old handlers would show up twice.
TEST(DryRun, writesNothingAndReadsOnFromTheEarlierPass) {
    TempFolder folder;
    const std::string plain = crlf({"Sub A()", "End Sub"});
    folder.write("b.bas", plain);
    folder.write("c.bas", crlf({"' nothing to do"}));
    const std::vector<ListEntry> entries = {{"a.bas"}, {"b.bas"}, {"c.bas"}};
    CommandObserver quiet;
    runPassCommand(PassCommand::Insert,
                   {entries, folder.path(), InsertionOptions(HandlingMode::ShowMessage)}, quiet);
    const std::string modeZero = readFile(folder / "b.bas");
    folder.write("a.bas", plain);

    DryRunFiles dryRun;
    const FailureCollector failures = runPassCommand(
        PassCommand::Insert,
        {entries, folder.path(), InsertionOptions(HandlingMode::ResumeNext), &dryRun}, quiet);
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(readFile(folder / "a.bas"), plain);
    EXPECT_EQ(readFile(folder / "b.bas"), modeZero);

    OutputPieces out;
    std::string name;
    insertHandlers(plain, HandlingMode::ResumeNext, name, out);
    const std::vector<const DryRunFiles::File*> files = dryRun.files();
    // b changed first (in removal), yet the list order stands.
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0]->entry, "a.bas");
    EXPECT_EQ(files[1]->entry, "b.bas");
    EXPECT_EQ(files[1]->before, modeZero);
    EXPECT_EQ(files[1]->after, out.joined());
    EXPECT_EQ(files[0]->after, out.joined());
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

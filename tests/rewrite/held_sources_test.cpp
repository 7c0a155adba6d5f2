// The passes over sources held in memory, as an Office document's modules are.
#include "recording_observer.h"
#include "rewrite/held_sources.h"
#include "rewrite/passes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

const std::string kTwoSubs =
    crlf({"Attribute VB_Name = \"M\"", "Sub A()", "End Sub", "Sub B()", "End Sub"});

// A document beside files of the very names its modules have: the passes
// must take the held sources and leave the files alone.
class HeldSourcesTest : public ::testing::Test {
protected:
    HeldSourcesTest() {
        folder.write("M.bas", "on disk");
        folder.write("Book.xlsm", "the document");
        held.add("M.bas", kTwoSubs);
        held.add("N.bas", kOneSubSource);
        held.add("C.cls", "Public Value As Long\r\n");
    }
    std::vector<ListEntry> entries() const {
        return {{"C.cls", true, SourceKind::Class}, {"M.bas"}, {"N.bas"}, {"Gone.bas"}};
    }
    PassSources sources() { return {folder.path(), held}; }

    TempFolder folder;
    HeldSources held{folder / "Book.xlsm"};
};

TEST_F(HeldSourcesTest, passesReadAndWriteThemInMemoryAndTheFilesStayAsTheyWere) {
    const auto before = treeOf(folder.path());
    const InsertionOptions options(HandlingMode::ResumeNext);
    RecordingObserver observer;
    const std::vector<ListEntry> list = entries();
    runReinsertionPass(list, sources(), options, observer, nullptr, 2);
    EXPECT_EQ(observer.outcomes,
              (std::vector<std::pair<int, FileOutcome>>{{0, FileOutcome::Unchanged},
                                                        {1, FileOutcome::Rewritten},
                                                        {2, FileOutcome::Rewritten},
                                                        {3, FileOutcome::NotFound}}));
    EXPECT_EQ(treeOf(folder.path()), before);
    const std::map<std::string, std::string> changed = held.changed();
    ASSERT_EQ(changed.size(), 2u);
    EXPECT_NE(changed.at("M.bas").find("Sub A()\r\nON ERROR GOTO ERR_A"), std::string::npos);

    // The next pass reads what the last one left; removal gives the sources back.
    RecordingObserver removal;
    runRemovalPass(list, sources(), removal);
    EXPECT_TRUE(held.changed().empty());
    EXPECT_EQ(treeOf(folder.path()), before);
}

TEST_F(HeldSourcesTest, aDryRunShowsThemInTheirDocumentAndChangesNothing) {
    DryRunFiles dryRun;
    RecordingObserver observer;
    const std::vector<ListEntry> list = entries();
    runReinsertionPass(list, sources(), InsertionOptions(), observer, &dryRun);
    EXPECT_TRUE(held.changed().empty());
    ASSERT_EQ(dryRun.files().size(), 2u);
    EXPECT_EQ(dryRun.files()[0]->path, folder / "Book.xlsm" / "M.bas");
    EXPECT_EQ(dryRun.files()[0]->before, kTwoSubs);

    // The survey reads them too; the template's {file} is the document's name.
    InsertionOptions named;
    std::string error;
    named.handlerTemplate = std::make_shared<HandlerTemplate>(*HandlerTemplate::parse(
        "[trap]\nOn Error GoTo E\n[handler]\nE:\nDebug.Print \"{file}\"\n", error));
    runReinsertionPass(list, sources(), named, observer);
    EXPECT_NE(held.changed().at("N.bas").find("Debug.Print \"Book.xlsm\""), std::string::npos);
    std::vector<std::string> surveyed;
    runSurveyPass(list, sources(), named, observer,
                  [&](int, const ListEntry& entry, const FileSurvey& survey) {
                      surveyed.push_back(entry.text + ":" +
                                         std::to_string(survey.procedures.size()));
                  });
    EXPECT_EQ(surveyed, (std::vector<std::string>{"C.cls:0", "M.bas:2", "N.bas:1"}));
}

} // namespace
} // namespace faultward

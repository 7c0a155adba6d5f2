#include "project/file_list.h"
#include "project/project_reader.h"
#include "rewrite/passes.h"
#include "support/temp_folder.h"
#include "support/vb_project_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace fs = std::filesystem;

namespace faultward {
namespace {

// What the passes say of each file: the procedures left as they were, then
// the outcome.
class Heard : public PassObserver {
public:
    void procedureLeftWhole(int index, std::string_view message, bool) override {
        lines.push_back(std::to_string(index) + " left " + std::string(message));
    }
    void fileProcessed(int index, std::string_view, FileOutcome outcome) override {
        lines.push_back(std::to_string(index) + " " + std::string(describe(outcome)));
        outcomes[index] = outcome;
    }
    std::vector<std::string> lines;
    std::map<int, FileOutcome> outcomes;
};

// A generated project of every kind of file, with two modules besides: one
// with the lines numbering must pass over, one with numbers and jumps of its
// own.
class NumberingPasses : public ::testing::TestWithParam<std::uint64_t> {
protected:
    void SetUp() override {
        const fs::path vbp = testing::generateVbProject(folder_ / "work", {6, 250, GetParam()});
        base_ = vbp.parent_path();
        entries_ = sortedListEntries(projectEntries(readFile(vbp), kAllSourceKinds));
        folder_.write("work/Modules/modEvery.bas", crlf({"Attribute VB_Name = \"modEvery\"",
                                                         "Sub Every(ByVal a As Long, _",
                                                         "          ByVal b As Long)",
                                                         "    Dim n As Long",
                                                         "",
                                                         "    ' comment",
                                                         "    Rem comment",
                                                         "    n = a + _",
                                                         "        b",
                                                         "Again:",
                                                         "#If DEBUG_BUILD Then",
                                                         "    Debug.Print n",
                                                         "#End If",
                                                         "    Select Case n",
                                                         "    ' before the first Case",
                                                         "    Case 1",
                                                         "        n = 2",
                                                         "    End Select",
                                                         "End Sub",
                                                         "",
                                                         "Function Twice(ByVal n As Long) As Long",
                                                         "    Twice = n * 2",
                                                         "End Function"}));
        folder_.write("work/Modules/modJumps.bas",
                      crlf({"Attribute VB_Name = \"modJumps\"", "Sub Old()", "10 Dim n As Long",
                            "20 On Error GoTo 50", "30 GoSub 60", "40 Exit Sub", "50 Resume 40",
                            "60 Return", "End Sub"}));
        entries_.push_back({"Modules\\modEvery.bas", true, SourceKind::Module});
        entries_.push_back({"Modules\\modJumps.bas", true, SourceKind::Module});
        original_ = treeOf(base_);
    }

    NumberingOptions all() const {
        NumberingOptions options;
        options.procedures = kAllProcedureKinds;
        return options;
    }

    TempFolder folder_;
    fs::path base_;
    std::vector<ListEntry> entries_;
    std::map<std::string, std::string> original_;
};

TEST_P(NumberingPasses, numberThenUnnumberGivesEveryByteBack) {
    const int jumps = static_cast<int>(entries_.size()) - 1;
    for (const int jobs : {1, 3}) {
        Heard numbering;
        runNumberingPass(entries_, base_, all(), numbering, nullptr, jobs);
        const auto numbered = treeOf(base_);
        EXPECT_NE(numbered, original_);
        EXPECT_NE(numbered.at("Modules/modEvery.bas").find("\r\n10     Dim n As Long\r\n"),
                  std::string::npos);
        // Numbered afresh, every file comes out the same and is not written.
        Heard again;
        runNumberingPass(entries_, base_, all(), again, nullptr, jobs);
        EXPECT_EQ(treeOf(base_), numbered);
        for (const auto& [index, outcome] : again.outcomes)
            EXPECT_EQ(outcome, FileOutcome::Unchanged) << index;

        Heard unnumbering;
        runUnnumberingPass(entries_, base_, kAllProcedureKinds, unnumbering, nullptr, jobs);
        EXPECT_EQ(treeOf(base_), original_);

        // The jumps' procedure is left whole both ways, and said so before
        // its file's outcome.
        const std::string left = std::to_string(jumps) +
                                 " left Modules\\modJumps.bas:2: Sub Old left as it was: line 4 "
                                 "jumps to line number 50";
        for (const Heard* heard : {&numbering, &unnumbering}) {
            const auto at = std::find(heard->lines.begin(), heard->lines.end(), left);
            ASSERT_NE(at, heard->lines.end());
            EXPECT_EQ(*(at + 1), std::to_string(jumps) + " unchanged");
        }
    }
}

TEST_P(NumberingPasses, insertWithLineNumbersEndsAsInsertThenNumber) {
    InsertionOptions insertion(HandlingMode::ShowMessage);
    insertion.procedures = kAllProcedureKinds;
    Heard heard;
    runReinsertionPass(entries_, base_, insertion, heard);
    runNumberingPass(entries_, base_, all(), heard);
    const auto expected = treeOf(base_);
    const NumberingOptions numbering = all();
    runRemovalPass(entries_, base_, heard, nullptr, 1, &numbering);
    EXPECT_EQ(treeOf(base_), original_);

    runReinsertionPass(entries_, base_, insertion, heard, nullptr, 2, &numbering);
    EXPECT_EQ(treeOf(base_), expected);
    // Again: nothing to write.
    Heard again;
    runReinsertionPass(entries_, base_, insertion, again, nullptr, 2, &numbering);
    for (const auto& [index, outcome] : again.outcomes)
        EXPECT_EQ(outcome, FileOutcome::Unchanged) << index;

    runRemovalPass(entries_, base_, heard, nullptr, 2, &numbering);
    EXPECT_EQ(treeOf(base_), original_);
    // The desktop program's two passes end the same.
    runRemovalAndInsertionPasses(entries_, base_, insertion, heard, nullptr, &numbering);
    EXPECT_EQ(treeOf(base_), expected);
}

INSTANTIATE_TEST_SUITE_P(Seeds, NumberingPasses, ::testing::Values(5u, 17u, 2024u));

} // namespace
} // namespace faultward

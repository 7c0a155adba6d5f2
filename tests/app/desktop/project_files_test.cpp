#include "fake_desktop.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace faultward::coretest {
namespace {

class ProjectFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("A.bas", kOneSubSource);
        folder.write("B.bas", kOneSubSource);
        program.files.showProject({"B.bas", "A.bas"}, (folder / "P.vbp").string(), folder.path());
        program.desktop.log.clear();
    }

    TempFolder folder;
    CoreProgram program;
};

TEST_F(ProjectFiles, selectButtons_setEveryTickUnderTheBusyPointer) {
    program.files.cmd_sel_Click(1);
    EXPECT_EQ(program.desktop.log, (std::vector<std::string>{"pointer busy", "tick 0 off",
                                                             "tick 1 off", "pointer default"}));
    program.files.cmd_sel_Click(0);
    EXPECT_TRUE(program.files.entries()[0].selected && program.files.entries()[1].selected);
    program.files.cmd_sel_Click(7);
    EXPECT_FALSE(program.files.entries()[0].selected || program.files.entries()[1].selected);
}

TEST_F(ProjectFiles, passesProcessOnlyWhatTheUserLeftTicked) {
    program.files.setSelected(0, false);
    program.files.setSelected(5, false); // no such entry: nothing happens
    const FailureCollector failures = program.files.runPasses(PassCommand::Insert);
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(readFile(folder / "A.bas"), kOneSubSource);
    EXPECT_NE(readFile(folder / "B.bas"), kOneSubSource);
}

TEST_F(ProjectFiles, removalPass_showsItsWorkAndEndsWithNoCurrentEntryAndTheBarHidden) {
    program.files.runPasses(PassCommand::Remove);
    EXPECT_EQ(program.desktop.log,
              (std::vector<std::string>{"caption Removing Error Handling Code", "pointer busy",
                                        "bar range 0 2", "bar value 0", "bar shown", "current 0",
                                        "bar value 0", "current 1", "bar value 1", "current -1",
                                        "bar hidden", "pointer default",
                                        "caption Faultward- Task Completed"}));
}

TEST_F(ProjectFiles, insertionPassOverOneEntry_leavesTheBarRangeAsItWas) {
    program.files.cmd_sel_Click(1);
    program.files.showProject({"A.bas"}, (folder / "P.vbp").string(), folder.path());
    program.desktop.log.clear();
    program.files.runPasses(PassCommand::Insert);
    // The insertion pass's part comes after the removal pass has completed.
    const auto& log = program.desktop.log;
    const auto completed = std::find(log.begin(), log.end(), "caption Faultward- Task Completed");
    ASSERT_NE(completed, log.end());
    const std::vector<std::string> insertion(completed + 1, log.end());
    EXPECT_EQ(insertion, (std::vector<std::string>{
                             "pointer busy", "caption Inserting Error Handling Code", "bar value 0",
                             "bar shown", "current 0", "bar value 0", "current -1", "bar hidden",
                             "pointer default", "caption Faultward- Task Completed"}));
}

} // namespace
} // namespace faultward::coretest

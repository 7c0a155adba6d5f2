#include "fake_desktop.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace faultward::coretest {
namespace {

namespace fs = std::filesystem;

const std::string kSource = crlf({"Sub A()", "    Beep", "End Sub"});

using LineNumbersCommands = OpenedProject;

TEST_F(LineNumbersCommands, addAndRemoveWorkOnTheTickedEntries) {
    folder.write("A.bas", kSource);
    folder.write("B.bas", kSource);
    open({"Module=A; A.bas", "Module=B; B.bas"});
    program.files.setSelected(1, false);

    program.main.mnu_f_Click(9);
    EXPECT_EQ(program.desktop.only({"play", "stop", "caption", "pointer", "message"}),
              (std::vector<std::string>{"play 11", "stop", "caption Adding Line Numbers",
                                        "pointer busy", "pointer default",
                                        "caption Faultward- Task Completed", "play 12"}));
    EXPECT_EQ(readFile(folder / "A.bas"), crlf({"Sub A()", "10     Beep", "End Sub"}));
    EXPECT_EQ(readFile(folder / "B.bas"), kSource);

    program.desktop.log.clear();
    program.main.mnu_f_Click(10);
    EXPECT_EQ(program.desktop.only({"caption"}),
              (std::vector<std::string>{"caption Removing Line Numbers",
                                        "caption Faultward- Task Completed"}));
    EXPECT_EQ(readFile(folder / "A.bas"), kSource);
}

TEST_F(LineNumbersCommands, proceduresLeftAsTheyWereAreNamedAfterTheChime) {
    const std::string jumps = crlf({"Sub A()", "10 GoTo 20", "20 Beep", "End Sub"});
    folder.write("A.bas", jumps);
    open({"Module=A; A.bas"});
    program.main.cmd_nav(Command::RemoveLineNumbers);
    EXPECT_EQ(program.desktop.only({"play 12", "message"}),
              (std::vector<std::string>{"play 12", "message warning"}));
    ASSERT_EQ(program.desktop.messages.size(), 1u);
    EXPECT_EQ(program.desktop.messages[0],
              "These procedures were left as they were, since their line numbers could not be "
              "changed safely:\n\nA.bas:1: Sub A left as it was: line 2 jumps to line number 20");
    EXPECT_EQ(readFile(folder / "A.bas"), jumps);

    // The next command starts with none.
    program.main.cmd_nav(Command::Insert);
    EXPECT_EQ(program.desktop.messages.size(), 1u);
}

} // namespace
} // namespace faultward::coretest

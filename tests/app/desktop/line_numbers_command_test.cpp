#include "app/texts/texts.h"
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

// Numbers taken for their author's are offered to be taken over: the
// choice runs the command again with every number the tool's, and says
// which procedures' numbers changed or went.
TEST_F(LineNumbersCommands, authorsNumbersAreOfferedToBeTakenOver) {
    const std::string authors =
        crlf({"Sub Save()", "    Dim x As Long", "100 x = 1", "102 Debug.Print x", "End Sub"});
    folder.write("A.bas", authors);
    open({"Module=A; A.bas"});
    const std::string left = "A.bas:1: Sub Save left as it was: it holds line numbers of its own "
                             "(line 2 has no number)";

    program.main.cmd_nav(Command::AddLineNumbers); // the choice not taken
    EXPECT_EQ(program.desktop.only({"message"}),
              (std::vector<std::string>{"message warning choice &Renumber Them"}));
    EXPECT_EQ(program.desktop.messages.back(),
              "These procedures were left as they were, since their line numbers could not be "
              "changed safely. One of them holds numbers not of the shape this tool writes, "
              "taken for their author's; Renumber Them numbers them afresh:\n\n" +
                  shortenedInTheMiddle(left, kFailureLineLength));
    EXPECT_EQ(program.desktop.details.back(), left + "\n");
    EXPECT_EQ(readFile(folder / "A.bas"), authors);

    program.desktop.log.clear();
    program.desktop.choiceAnswers = {true};
    program.main.cmd_nav(Command::AddLineNumbers);
    EXPECT_EQ(program.desktop.only({"message", "play 12", "caption Adding"}),
              (std::vector<std::string>{
                  "caption Adding Line Numbers", "play 12", "message warning choice &Renumber Them",
                  "caption Adding Line Numbers", "play 12", "message plain"}));
    EXPECT_EQ(program.desktop.messages.back(),
              "These procedures held line numbers that were changed or taken out:\n\n"
              "A.bas:1: Sub Save renumbered: line 3 had 100, now 20");
    EXPECT_EQ(readFile(folder / "A.bas"), crlf({"Sub Save()", "10     Dim x As Long", "20 x = 1",
                                                "30 Debug.Print x", "End Sub"}));

    // The tool's own numbers now: taken out without a word.
    program.desktop.log.clear();
    program.main.cmd_nav(Command::RemoveLineNumbers);
    EXPECT_TRUE(program.desktop.only({"message"}).empty());
    folder.write("A.bas", authors);
    program.desktop.choiceAnswers = {true};
    program.main.cmd_nav(Command::RemoveLineNumbers);
    EXPECT_EQ(
        program.desktop.only({"message"}),
        (std::vector<std::string>{"message warning choice Re&move Them Too", "message plain"}));
    EXPECT_EQ(readFile(folder / "A.bas"),
              crlf({"Sub Save()", "    Dim x As Long", "x = 1", "Debug.Print x", "End Sub"}));
}

} // namespace
} // namespace faultward::coretest

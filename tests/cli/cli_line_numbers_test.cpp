#include "cli/cli.h"
#include "cli_run.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

const std::string kTools = crlf({
    "Attribute VB_Name = \"Tools\"",
    "Public Sub Run()",
    "    x = 1",
    "End Sub",
    "Public Function Twice(n As Long) As Long",
    "    Twice = n * 2",
    "End Function",
    "Sub Old()",
    "10 GoSub 30",
    "20 Exit Sub",
    "30 Return",
    "End Sub",
});

// The command line's wiring of the numbering passes; which lines get numbers
// is the engine's to test.
class CliLineNumbers : public ::testing::Test {
protected:
    void SetUp() override {
        vbp_ = project_.write("app/App.vbp", crlf({"Type=Exe", "Module=Tools; Tools.bas"}));
        project_.write("app/Tools.bas", kTools);
        group_ = project_.write("All.vbg", crlf({"VBGROUP 5.0", "Project=app\\App.vbp"}));
    }

    CliRun run(std::vector<std::string> args) { return runIn(settings_.path(), std::move(args)); }
    std::string tools() const { return readFile(project_ / "app/Tools.bas"); }

    TempFolder project_;
    TempFolder settings_;
    fs::path vbp_;
    fs::path group_;
};

TEST_F(CliLineNumbers, numberAndUnnumberWithTheirOptions) {
    const CliRun dry = run({"number", "--dry-run", vbp_.string()});
    EXPECT_EQ(dry.out, "Tools.bas: +1 -1\n");
    EXPECT_EQ(tools(), kTools);

    const CliRun numbered = run({"number", "--start", "100", "--step=5", "--procedures", "all",
                                 "--jobs", "2", group_.string()});
    EXPECT_EQ(numbered.status, ExitOk);
    EXPECT_EQ(numbered.err, "faultward-cli: app\\App.vbp: Tools.bas:8: Sub Old left as it was: "
                            "line 9 jumps to line number 30\n");
    EXPECT_NE(tools().find("\r\n100     x = 1\r\n"), std::string::npos);
    EXPECT_NE(tools().find("\r\n100     Twice = n * 2\r\n"), std::string::npos);

    const CliRun check = run({"check", "--procedures", "all", vbp_.string()});
    EXPECT_EQ(check.out.substr(0, check.out.find('\n')),
              "Tools.bas: 3 procedures, 3 without a trap, 3 numbered; no marked lines");

    const CliRun unnumbered = run({"unnumber", "--procedures", "sub", vbp_.string()});
    EXPECT_EQ(unnumbered.status, ExitOk);
    EXPECT_NE(tools().find("\r\n    x = 1\r\n"), std::string::npos);
    EXPECT_NE(tools().find("\r\n100     Twice"), std::string::npos) << "functions not chosen";
    run({"unnumber", "--procedures", "function", vbp_.string()});
    EXPECT_NE(tools().find("\r\n    Twice"), std::string::npos);
}

TEST_F(CliLineNumbers, insertAndRemoveTakeTheNumbersInTheSamePass) {
    const CliRun inserted = run({"insert", "--mode", "1", "--line-numbers", vbp_.string()});
    EXPECT_EQ(inserted.status, ExitOk);
    EXPECT_NE(tools().find("ON ERROR GOTO ERR_Run  '~Faultward~\r\n10     x = 1\r\n"),
              std::string::npos)
        << tools();
    EXPECT_EQ(run({"remove", "--line-numbers", vbp_.string()}).status, ExitOk);
    EXPECT_EQ(tools(), kTools);
}

// Numbers of the user's own, and numbers an Erl comparison names, go through
// the commands that unnumber or renumber as they were, named each time.
TEST_F(CliLineNumbers, numbersTheUserDependsOnSurviveEveryCommand) {
    // An author's numbering (start 100, step 2, On Error, Dim and Exit Sub
    // bare), a lone number and numbers an Erl comparison depends on.
    const std::string mine = crlf({"Attribute VB_Name = \"Mine\"",
                                   "Sub Save()",
                                   "    On Error GoTo EH",
                                   "    Dim x As Long",
                                   "100 x = 1",
                                   "102 Debug.Print x",
                                   "    Exit Sub",
                                   "EH:",
                                   "104 LogError Err.Description, Erl",
                                   "End Sub",
                                   "Sub Own()",
                                   "100 Dim s As String",
                                   "    s = \"x\"",
                                   "End Sub",
                                   "Sub Where()",
                                   "10     On Error GoTo Fail",
                                   "20     Beep",
                                   "    Exit Sub",
                                   "Fail:",
                                   "30     If Erl = 20 Then Beep",
                                   "End Sub"});
    project_.write("app/Mine.bas", mine);
    const fs::path vbp =
        project_.write("app/Mine.vbp", crlf({"Type=Exe", "Module=Mine; Mine.bas"}));
    const std::string save = "faultward-cli: Mine.bas:2: Sub Save left as it was: it holds line "
                             "numbers of its own (line 3 has no number)\n";
    const std::string left =
        save +
        "faultward-cli: Mine.bas:11: Sub Own left as it was: it holds line numbers of its own "
        "(line 12 holds the only number)\n"
        "faultward-cli: Mine.bas:15: Sub Where left as it was: line 20 compares Erl with a line "
        "number\n";
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"number"}, {"unnumber"}, {"remove", "--line-numbers"}}) {
        std::vector<std::string> args = command;
        args.push_back(vbp.string());
        const CliRun result = run(args);
        EXPECT_EQ(result.status, ExitOk) << command[0];
        EXPECT_EQ(result.err, left) << command[0];
        EXPECT_EQ(readFile(project_ / "app/Mine.bas"), mine) << command[0];
    }
    const CliRun withHandlers = run({"insert", "--line-numbers", vbp.string()});
    // Named by the lines of the file as written, with its trap lines.
    EXPECT_EQ(withHandlers.err.find("faultward-cli: Mine.bas:2: Sub Save left as it was"), 0u)
        << withHandlers.err;
    EXPECT_NE(readFile(project_ / "app/Mine.bas").find("\r\n100 x = 1\r\n102 Debug.Print x\r\n"),
              std::string::npos);
    EXPECT_EQ(run({"remove", "--line-numbers", vbp.string()}).err, left);
    EXPECT_EQ(readFile(project_ / "app/Mine.bas"), mine);

    // A stored LineNumbers=1 numbers at insert and unnumbers at a plain
    // remove: the same procedures stay as they were, and the round trip
    // gives every byte back.
    settings_.write("ERRH.ini", "[Handler]\r\nLineNumbers=1\r\n");
    const CliRun inserted = run({"insert", vbp.string()});
    EXPECT_EQ(inserted.status, ExitOk);
    EXPECT_NE(inserted.err.find("LineNumbers=1 (--no-settings leaves them out)"), std::string::npos);
    EXPECT_NE(inserted.err.find("Sub Save left as it was"), std::string::npos);
    EXPECT_NE(inserted.err.find("Sub Own left as it was"), std::string::npos);
    EXPECT_NE(readFile(project_ / "app/Mine.bas").find("100 Dim s As String"), std::string::npos);
    const CliRun removed = run({"remove", vbp.string()});
    EXPECT_EQ(removed.status, ExitOk);
    EXPECT_NE(removed.err.find(save), std::string::npos);
    EXPECT_EQ(readFile(project_ / "app/Mine.bas"), mine);

    // --renumber takes the author's numbers over, and names each procedure
    // whose numbers change; Erl's comparison still keeps its own.
    const CliRun renumbered = run({"number", "--renumber", "--no-settings", vbp.string()});
    EXPECT_EQ(renumbered.status, ExitOk);
    EXPECT_EQ(renumbered.err,
              "faultward-cli: Mine.bas:2: Sub Save renumbered: line 5 had 100, now 30\n"
              "faultward-cli: Mine.bas:11: Sub Own renumbered: line 12 had 100, now 10\n"
              "faultward-cli: Mine.bas:15: Sub Where left as it was: line 20 compares Erl with a "
              "line number\n");
    EXPECT_NE(readFile(project_ / "app/Mine.bas").find("\r\n10     On Error GoTo EH\r\n"),
              std::string::npos);
    EXPECT_EQ(run({"unnumber", "--renumber", "--no-settings", vbp.string()}).err,
              "faultward-cli: Mine.bas:2: Sub Save unnumbered: line 3 had 10\n"
              "faultward-cli: Mine.bas:11: Sub Own unnumbered: line 12 had 10\n"
              "faultward-cli: Mine.bas:15: Sub Where left as it was: line 20 compares Erl with a "
              "line number\n");
}

TEST_F(CliLineNumbers, optionsOutOfPlaceAreRefused) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"number", "--start", "0"}, "--start needs a whole number from 1 to 65529, not '0'"},
        {{"number", "--step", "65530"}, "--step needs a whole number from 1 to 65529, not '65530'"},
        {{"unnumber", "--step", "5"},
         "--step applies to number, init and insert --line-numbers only"},
        {{"insert", "--start", "5"},
         "--start applies to number, init and insert --line-numbers only"},
        {{"remove", "--line-numbers", "--start", "5"},
         "--start applies to number, init and insert --line-numbers only"},
        {{"check", "--line-numbers"}, "--line-numbers applies to insert, remove and init only"},
        {{"remove", "--procedures", "all"},
         "--procedures applies to insert, check, number, unnumber, init and remove --line-numbers "
         "only"},
        {{"number", "--mode", "1"}, "--mode applies to insert, check and init only"},
    };
    for (const auto& [args, message] : refused) {
        std::vector<std::string> line = args;
        line.push_back(vbp_.string());
        const CliRun result = run(line);
        EXPECT_EQ(result.status, ExitUsage) << message;
        EXPECT_EQ(result.err, "faultward-cli: " + message + "\nTry 'faultward-cli --help'.\n");
    }
    EXPECT_EQ(tools(), kTools);
}

} // namespace
} // namespace faultward

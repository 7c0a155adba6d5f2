#include "cli/cli.h"
#include "cli_run.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace faultward {
namespace {

const std::string kModule = crlf({
    "Attribute VB_Name = \"Tools\"",
    "Public Sub Run()",
    "    x = 1",
    "End Sub",
    "Public Function Twice(n As Long) As Long",
    "    On Error GoTo Bad",
    "    Twice = n * 2",
    "Bad:",
    "End Function",
    "Property Get Count() As Long",
    "End Property",
});

const std::string kClass = crlf({
    "VERSION 1.0 CLASS",
    "BEGIN",
    "  MultiUse = -1  'True",
    "END",
    "Attribute VB_Name = \"CItem\"",
    "Public Sub Clear()",
    "End Sub",
});

const std::string kControl = crlf({
    "VERSION 5.00",
    "Begin VB.UserControl Grid",
    "   ClientHeight    =   3600",
    "   Begin VB.Timer tmrTick",
    "      Interval        =   250",
    "   End",
    "End",
    "Attribute VB_Name = \"Grid\"",
    "Private Sub tmrTick_Timer()",
    "End Sub",
});

// A small project of every kind, in a folder of the test's own.
class CliOptions : public ::testing::Test {
protected:
    void SetUp() override {
        vbp_ = project_.write("app/App.vbp",
                              crlf({"Type=Exe", "Module=Tools; Tools.bas", "Class=CItem; CItem.cls",
                                    "UserControl=Grid.ctl", "Name=\"Billing\""}));
        project_.write("app/Tools.bas", kModule);
        project_.write("app/CItem.cls", kClass);
        project_.write("app/Grid.ctl", kControl);
        project_.write("app/Grid.ctx", std::string("\0ctx", 4));
        original_ = treeOf(project_ / "app");
    }

    CliRun run(std::vector<std::string> args) { return runIn(settings_.path(), std::move(args)); }
    std::string file(std::string_view name) const { return readFile(project_ / "app" / name); }

    TempFolder project_;
    TempFolder settings_;
    fs::path vbp_;
    std::map<std::string, std::string> original_;
};

TEST_F(CliOptions, proceduresAndSkipHandledChooseWhichProceduresGetHandlers) {
    ASSERT_EQ(
        run({"insert", "--mode", "1", "--procedures", "function,property", vbp_.string()}).status,
        ExitOk);
    const std::string out = file("Tools.bas");
    EXPECT_EQ(out.find("ERR_Run"), std::string::npos);
    EXPECT_NE(out.find("Bad:\r\nEXIT FUNCTION  '~Faultward~\r\nERR_Twice:"), std::string::npos);
    EXPECT_NE(out.find("EXIT PROPERTY  '~Faultward~\r\nERR_Count:"), std::string::npos);
    ASSERT_EQ(run({"insert", "--procedures", "all", "--skip-handled", vbp_.string()}).status,
              ExitOk);
    EXPECT_EQ(file("Tools.bas").find("ERR_Twice"), std::string::npos);
    EXPECT_NE(file("Tools.bas").find("ERR_Run:"), std::string::npos);
    EXPECT_EQ(run({"insert", "--procedures", "sub,method", vbp_.string()}).status, ExitUsage);
    EXPECT_EQ(run({"remove", "--skip-handled", vbp_.string()}).status, ExitUsage);
}

TEST_F(CliOptions, kindsAddClassesAndUserControlsLeavingTheirHeadersAlone) {
    EXPECT_EQ(run({"list", vbp_.string()}).out, "Tools.bas\n");
    EXPECT_EQ(run({"list", "--kinds", "class,usercontrol", vbp_.string()}).out,
              "CItem.cls\nGrid.ctl\n");
    ASSERT_EQ(run({"insert", "--mode", "1", "--kinds", "all", vbp_.string()}).status, ExitOk);
    const std::string cls = file("CItem.cls");
    EXPECT_TRUE(cls.starts_with(kClass.substr(0, kClass.find("Public Sub")))) << cls;
    EXPECT_NE(cls.find("Public Sub Clear()\r\nON ERROR GOTO ERR_Clear  '~Faultward~"),
              std::string::npos);
    const std::string ctl = file("Grid.ctl");
    EXPECT_TRUE(ctl.starts_with(kControl.substr(0, kControl.find("Private Sub")))) << ctl;
    EXPECT_NE(ctl.find("ERR_tmrTick_Timer:"), std::string::npos);
    // remove takes out only what its kinds name, so it needs the same kinds.
    ASSERT_EQ(run({"remove", vbp_.string()}).status, ExitOk);
    EXPECT_EQ(file("CItem.cls"), cls);
    ASSERT_EQ(run({"remove", "--kinds", "all", vbp_.string()}).status, ExitOk);
    EXPECT_EQ(treeOf(project_ / "app"), original_);
}

TEST_F(CliOptions, templatesFillTheirPlaceholdersAndFaultyOnesWriteNothing) {
    const fs::path good = project_.write(
        "good.txt", "[trap]\nOn Error GoTo Fail\n[handler]\n{exit}\nFail:\n"
                    "  LogError \"{project}/{file}/{module}.{procedure}\"\n  Resume Next\n");
    ASSERT_EQ(run({"insert", "--template", good.string(), vbp_.string()}).status, ExitOk);
    EXPECT_NE(file("Tools.bas")
                  .find("Public Sub Run()\r\nOn Error GoTo Fail  '~Faultward~\r\n"
                        "    x = 1\r\nEXIT SUB  '~Faultward~\r\nFail:  '~Faultward~\r\n"
                        "  LogError \"Billing/Tools.bas/Tools.Run\"  '~Faultward~\r\n"),
              std::string::npos)
        << file("Tools.bas");
    EXPECT_EQ(run({"remove", vbp_.string()}).status, ExitOk);

    const fs::path bad = project_.write("bad.txt", "[trap]\nOn Error GoTo Fail\n[handler]\n"
                                                   "Fail:\n  LogError \"{procedure} {line}\"\n");
    const CliRun refused = run({"insert", "--template", bad.string(), vbp_.string()});
    EXPECT_EQ(refused.status, ExitUsage);
    EXPECT_NE(refused.err.find("line 5: unknown placeholder {line}"), std::string::npos)
        << refused.err;
    EXPECT_EQ(treeOf(project_ / "app"), original_);
    const fs::path none = project_ / "none.txt";
    const CliRun missing = run({"insert", "--template", none.string(), vbp_.string()});
    EXPECT_EQ(missing.status, ExitUsage);
    EXPECT_EQ(missing.err, "faultward-cli: template " + none.string() + ": not found\n");
    EXPECT_EQ(run({"insert", "--mode", "1", "--template", good.string(), vbp_.string()}).status,
              ExitUsage);
}

TEST_F(CliOptions, dryRunPrintsCountsOrADiffAndWritesNothing) {
    const CliRun counts =
        run({"insert", "--mode", "1", "--kinds", "all", "--dry-run", vbp_.string()});
    EXPECT_EQ(counts.status, ExitOk);
    EXPECT_EQ(counts.out, "CItem.cls: +4 -0\nGrid.ctl: +4 -0\nTools.bas: +4 -0\n");
    const CliRun diff = run({"insert", "--mode", "1", "--dry-run", "--diff", vbp_.string()});
    EXPECT_TRUE(diff.out.starts_with("--- a/Tools.bas\n+++ b/Tools.bas\n@@ -1,6 +1,10 @@\n"))
        << diff.out;
    EXPECT_EQ(treeOf(project_ / "app"), original_);
    EXPECT_EQ(run({"remove", "--dry-run", vbp_.string()}).out, "no file would change\n");
    EXPECT_EQ(run({"insert", "--diff", vbp_.string()}).status, ExitUsage);
    EXPECT_EQ(run({"list", "--dry-run", vbp_.string()}).status, ExitUsage);
}

TEST_F(CliOptions, outputWritesAProcessedCopyAndLeavesTheSources) {
    const fs::path out = project_ / "release";
    const CliRun copied = run({"insert", "--mode", "0", "--output", out.string(), vbp_.string()});
    ASSERT_EQ(copied.status, ExitOk) << copied.err;
    EXPECT_EQ(copied.out, (out / "App.vbp").string() + "\n");
    EXPECT_EQ(treeOf(project_ / "app"), original_);
    std::map<std::string, std::string> copy = treeOf(out);
    EXPECT_NE(copy["Tools.bas"].find("ERR_Run:"), std::string::npos);
    // Files of other kinds, and the user control's binary companion, come along unprocessed.
    copy["Tools.bas"] = original_["Tools.bas"];
    EXPECT_EQ(copy, original_);

    const CliRun notEmpty = run({"remove", "--output", out.string(), vbp_.string()});
    EXPECT_EQ(notEmpty.status, ExitUsage);
    EXPECT_NE(notEmpty.err.find("is not empty"), std::string::npos);
    const CliRun inside =
        run({"insert", "--output", (project_ / "app/bin").string(), vbp_.string()});
    EXPECT_EQ(inside.status, ExitUsage);
    EXPECT_NE(inside.err.find("inside the project's folder"), std::string::npos);
    EXPECT_FALSE(fs::exists(project_ / "app/bin"));
    EXPECT_EQ(run({"insert", "--dry-run", "--output", "x", vbp_.string()}).status, ExitUsage);
}

TEST_F(CliOptions, outputNamesACompanionThatIsMissingAndExitsOne) {
    const fs::path vbp = project_.write("app/Login.vbp", crlf({"Form=Login.frm"}));
    project_.write("app/Login.frm", crlf({"Begin VB.Form frmLogin", "   Icon = \"Shared.frx\":0000",
                                          "   Picture = \"Gone.frx\":0000", "End"}));
    project_.write("app/Shared.frx", "icon");
    const fs::path out = project_ / "release";
    const CliRun copied = run({"insert", "--output", out.string(), vbp.string()});
    EXPECT_EQ(copied.status, ExitSomeFilesFailed);
    EXPECT_EQ(copied.err,
              "faultward-cli: Login.frm: its companion Gone.frx is not found, not copied\n");
    EXPECT_EQ(copied.out, (out / "Login.vbp").string() + "\n");
    EXPECT_EQ(readFile(out / "Shared.frx"), "icon");
}

TEST_F(CliOptions, checkReportsStablyAndFailsOnRequest) {
    const CliRun before = run({"check", "--procedures", "all", "--kinds", "all", vbp_.string()});
    EXPECT_EQ(before.status, ExitOk);
    EXPECT_EQ(before.out, "CItem.cls: 1 procedure, 1 without a trap; no marked lines\n"
                          "CItem.cls:6: Sub Clear has no trap\n"
                          "Grid.ctl: 1 procedure, 1 without a trap; no marked lines\n"
                          "Grid.ctl:9: Sub tmrTick_Timer has no trap\n"
                          "Tools.bas: 3 procedures, 2 without a trap; no marked lines\n"
                          "Tools.bas:2: Sub Run has no trap\n"
                          "Tools.bas:10: Property Get Count has no trap\n");
    const CliRun unhandled = run({"check", "--handled", vbp_.string()});
    EXPECT_EQ(unhandled.status, ExitSomeFilesFailed);
    EXPECT_EQ(unhandled.err, "faultward-cli: 1 procedure without a trap\n");
    EXPECT_EQ(run({"check", "--clean", vbp_.string()}).status, ExitOk);

    ASSERT_EQ(run({"insert", "--mode", "2", vbp_.string()}).status, ExitOk);
    const CliRun after = run({"check", "--clean", "--handled", vbp_.string()});
    EXPECT_EQ(after.status, ExitSomeFilesFailed);
    EXPECT_EQ(after.out, "Tools.bas: 1 procedure, 0 without a trap; 5 marked lines: 3, 5-8\n");
    EXPECT_EQ(after.err, "faultward-cli: 5 marked lines left\n");
    EXPECT_EQ(run({"check", "--handled", vbp_.string()}).status, ExitOk);
    EXPECT_EQ(run({"insert", "--clean", vbp_.string()}).status, ExitUsage);
}

TEST_F(CliOptions, groupsRunEveryProjectInOrder) {
    project_.write("lib/Lib.vbp", crlf({"Module=L; L.bas"}));
    project_.write("lib/L.bas", crlf({"Sub L()", "End Sub"}));
    const fs::path group =
        project_.write("All.vbg", crlf({"VBGROUP 5.0", "StartupProject=app\\App.vbp",
                                        "Project=LIB\\lib.vbp", "Project=gone\\Gone.vbp"}));
    // Every project is read first: a missing one stops the command before
    // any file is written.
    const CliRun listed = run({"list", group.string()});
    EXPECT_EQ(listed.status, ExitUsage);
    EXPECT_EQ(listed.out, "");
    EXPECT_NE(listed.err.find("gone\\Gone.vbp does not exist"), std::string::npos);
    const std::string before = file("Tools.bas");
    EXPECT_EQ(run({"insert", "--mode", "1", group.string()}).status, ExitUsage);
    EXPECT_EQ(file("Tools.bas"), before);
    project_.write("All.vbg", crlf({"Project=app\\App.vbp", "Project=LIB\\lib.vbp"}));
    EXPECT_EQ(run({"list", group.string()}).out,
              "project: app\\App.vbp\nTools.bas\nproject: LIB\\lib.vbp\nL.bas\n");

    project_.write("lib/Gone.bas", "x");
    project_.write("All.vbg", crlf({"Project=app\\App.vbp", "Project=lib\\Lib.vbp"}));
    project_.write("lib/Lib.vbp", crlf({"Module=L; L.bas", "Module=G; Gone2.bas"}));
    const CliRun inserted = run({"insert", "--mode", "1", group.string()});
    EXPECT_EQ(inserted.status, ExitSomeFilesFailed);
    EXPECT_EQ(inserted.err, "faultward-cli: lib\\Lib.vbp: Gone2.bas: not found\n");
    EXPECT_NE(file("Tools.bas").find("ERR_Run:"), std::string::npos);
    EXPECT_NE(readFile(project_ / "lib/L.bas").find("ERR_L:"), std::string::npos);
}

TEST_F(CliOptions, groupsNamingGroupsAreRefusedAndRepeatedProjectsRunOnce) {
    const fs::path group =
        project_.write("All.vbg", crlf({"Project=app\\App.vbp", "Project=All.vbg"}));
    const CliRun itself = run({"insert", group.string()});
    EXPECT_EQ(itself.status, ExitUsage);
    EXPECT_EQ(itself.err, "faultward-cli: the group file " + group.string() +
                              " names itself (All.vbg); a group can only name projects\n");
    EXPECT_EQ(treeOf(project_ / "app"), original_);

    project_.write("All.vbg", crlf({"Project=app\\App.vbp", "Project=APP\\app.vbp"}));
    const CliRun twice = run({"list", group.string()});
    EXPECT_EQ(twice.status, ExitOk);
    EXPECT_EQ(twice.out, "project: app\\App.vbp\nTools.bas\n");
    EXPECT_EQ(twice.err, "faultward-cli: the group file " + group.string() +
                             " names app\\App.vbp again as APP\\app.vbp; it is worked on once\n");
}

} // namespace
} // namespace faultward

// The command line over the settings files as teams keep them: a group's
// projects' own files, files that say the same, items that name nothing,
// init's refusals, and check's records of files it did not look into.
#include "cli/cli.h"
#include "cli_run.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

const std::string kNumbered =
    crlf({"Sub Keep()", "10 Beep", "End Sub", "Sub Other()", "10 Beep", "End Sub"});

class CliSettingsFiles : public ::testing::Test {
protected:
    CliRun run(std::vector<std::string> args) { return runIn(settings_.path(), std::move(args)); }
    TempFolder project_;
    TempFolder settings_;
};

// A group reads each project's own file: its [Leave] list keeps its
// procedures through every command on the group, the file is named, and
// its [Handler] keys, which a group does not use, are named as such.
TEST_F(CliSettingsFiles, aGroupHonoursEachProjectsOwnListAndNamesItsFile) {
    project_.write("App/M.bas", kNumbered);
    const fs::path vbp = project_.write("App/App.vbp", crlf({"Module=M; M.bas"}));
    project_.write("App/App.faultward", "[Handler]\nProcedures=Function\n[Leave]\nM.bas:Keep\n");
    const fs::path own = project_ / "App" / "App.faultward";
    const fs::path vbg = project_.write("All.vbg", crlf({"VBGROUP 5.0", "Project=App\\App.vbp"}));

    const CliRun unnumbered = run({"unnumber", vbg.string()});
    ASSERT_EQ(unnumbered.status, ExitOk) << unnumbered.err;
    EXPECT_EQ(readFile(project_ / "App/M.bas"),
              crlf({"Sub Keep()", "10 Beep", "End Sub", "Sub Other()", "Beep", "End Sub"}));
    EXPECT_EQ(unnumbered.err, "faultward-cli: settings from " + own.string() +
                                  ": [Leave] 1 item (--no-project-settings leaves them out)\n"
                                  "faultward-cli: warning: " +
                                  own.string() +
                                  " [Handler] Procedures=Function: not used, as a group runs with "
                                  "its own settings; keep them in " +
                                  (project_ / "All.faultward").string() +
                                  ", or work on the project alone\n");
    // Alone, the project uses them.
    EXPECT_NE(run({"number", vbp.string()}).err.find("Procedures=Function"), std::string::npos);
}

// ERRH.ini and the project's file saying the same still change what the
// command does: the file in force is named with them.
TEST_F(CliSettingsFiles, aSettingBothFilesHoldIsNamedFromTheOneInForce) {
    project_.write("M.bas", kOneSubSource);
    const fs::path vbp = project_.write("App.vbp", crlf({"Module=M; M.bas"}));
    const fs::path own = project_.write("App.faultward", "[Handler]\nProcedures=Sub,Function\n");
    settings_.write("ERRH.ini", "[Handler]\r\nProcedures=Sub,Function\r\n");
    EXPECT_EQ(run({"check", vbp.string()}).err,
              "faultward-cli: settings from " + own.string() +
                  ": Procedures=Sub,Function (--no-project-settings leaves them out)\n");
}

// Every command that works on files warns first of [Leave] items that name
// nothing: what they were meant to keep is worked on.
TEST_F(CliSettingsFiles, everyCommandWarnsOfItemsNamingNothingBeforeItWorks) {
    project_.write("M.bas", kNumbered);
    const fs::path vbp = project_.write("App.vbp", crlf({"Module=M; M.bas"}));
    const fs::path own = project_.write("App.faultward", "[Leave]\nM.bas:Kep\nM.bas:Keep\nN.bas\n");
    for (const char* command : {"insert", "number", "unnumber", "remove"}) {
        const CliRun result = run({command, "--dry-run", vbp.string()});
        const std::string warning = "faultward-cli: warning: " + own.string() + " [Leave] ";
        EXPECT_NE(result.err.find(warning +
                                  "M.bas:Kep names no procedure of the kinds worked on\n" +
                                  warning + "N.bas names no file of the kinds worked on\n"),
                  std::string::npos)
            << command << result.err;
    }
}

// init refuses what it cannot keep settings beside, says so when given
// nothing to keep, and never writes through a link or creates its target.
TEST_F(CliSettingsFiles, initRefusesOtherFilesAnEmptyCallAndLinks) {
    const fs::path vbp = project_.write("App.vbp", crlf({"Module=M; M.bas"}));
    const fs::path notes = project_.write("notes.txt", "x\n");
    const CliRun other = run({"init", "--step", "5", notes.string()});
    EXPECT_EQ(other.status, ExitUsage);
    EXPECT_NE(other.err.find("is none of them"), std::string::npos);
    EXPECT_FALSE(fs::exists(project_ / "notes.faultward"));

    const CliRun nothing = run({"init", vbp.string()});
    EXPECT_EQ(nothing.status, ExitUsage);
    EXPECT_NE(nothing.err.find("none was given; nothing written"), std::string::npos);
    EXPECT_FALSE(fs::exists(project_ / "App.faultward"));
#ifndef _WIN32
    fs::create_symlink(project_ / "gone.ini", project_ / "App.faultward");
    const CliRun dangling = run({"init", "--step", "5", vbp.string()});
    EXPECT_EQ(dangling.status, ExitUsage);
    EXPECT_NE(dangling.err.find("a symbolic link to a file that is not there"), std::string::npos);
    EXPECT_FALSE(fs::exists(project_ / "gone.ini"));

    const fs::path bashrc = settings_.write(".bashrc", "export A=1\n");
    fs::remove(project_ / "App.faultward");
    fs::create_symlink(bashrc, project_ / "App.faultward");
    EXPECT_EQ(run({"init", "--mode", "1", vbp.string()}).status, ExitUsage);
    EXPECT_EQ(readFile(bashrc), "export A=1\n");
#endif
}

// check --format json gives every file a record: one its [Leave] list
// leaves whole, and one not found.
TEST_F(CliSettingsFiles, checkJsonRecordsFilesLeftWholeAndMissing) {
    project_.write("Old.bas", kOneSubSource);
    const fs::path vbp =
        project_.write("App.vbp", crlf({"Module=G; Gone.bas", "Module=O; Old.bas"}));
    project_.write("App.faultward", "[Leave]\nOld.bas\n");
    const CliRun json = run({"check", "--format", "json", vbp.string()});
    EXPECT_EQ(json.out, "[\n{\"file\": \"Gone.bas\", \"line\": null, \"kind\": null, \"name\": "
                        "null, \"state\": \"missing\", \"reason\": \"not found\", \"numbers\": "
                        "null},\n{\"file\": \"Old.bas\", \"line\": null, \"kind\": null, "
                        "\"name\": null, \"state\": \"left-alone\", \"reason\": \"listed in "
                        "[Leave]\", \"numbers\": null}\n]\n");
    EXPECT_EQ(json.status, ExitSomeFilesFailed);
}

} // namespace
} // namespace faultward

#include "cli/cli.h"
#include "cli_run.h"
#include "support/process.h"
#include "support/temp_folder.h"
#include "support/vb_project_generator.h"

#include <gtest/gtest.h>

#include <sstream>

using faultward::testing::runProcess;
namespace fs = std::filesystem;

namespace faultward {
namespace {

class Cli : public ::testing::Test {
protected:
    CliRun run(std::vector<std::string> args) { return runIn(settings_.path(), std::move(args)); }
    TempFolder project_;
    TempFolder settings_;
};

TEST_F(Cli, listPrintsEntriesInListOrder) {
    const fs::path vbp = project_.write(
        "App.vbp", crlf({"Module=M; Util.bas", "Form=frmMain.frm", "Form=forms\\About.frm"}));
    const CliRun result = run({"list", vbp.string()});
    EXPECT_EQ(result.status, ExitOk);
    EXPECT_EQ(result.out, "forms\\About.frm\nfrmMain.frm\nUtil.bas\n");
}

TEST_F(Cli, usageErrorsAndUnreadableProjectsExitTwo) {
    EXPECT_EQ(run({}).status, ExitUsage);
    EXPECT_EQ(run({"frobnicate", "x.vbp"}).status, ExitUsage);
    EXPECT_EQ(run({"insert"}).status, ExitUsage);
    EXPECT_EQ(run({"insert", "--mode", "two", "x.vbp"}).status, ExitUsage);
    EXPECT_EQ(run({"remove", "--mode", "1", "x.vbp"}).status, ExitUsage);
    for (const char* jobs : {"0", "65", "two", "-1", ""})
        EXPECT_EQ(run({"insert", "--jobs", jobs, "x.vbp"}).status, ExitUsage) << jobs;
    EXPECT_EQ(run({"list", "--jobs=2", "x.vbp"}).status, ExitUsage);
    EXPECT_EQ(run({"check", "--jobs", "2", "x.vbp"}).status, ExitUsage);
    const CliRun missing = run({"list", (project_ / "none.vbp").string()});
    EXPECT_EQ(missing.status, ExitUsage);
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos);
    // A folder is a project of the modules in it (cli_folder_test).
    EXPECT_EQ(run({"list", project_.path().string()}).out, "");
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, ExitOk);
    EXPECT_NE(help.out.find("insert [--mode N]"), std::string::npos);
    EXPECT_NE(help.out.find("--version"), std::string::npos);
    EXPECT_NE(help.out.find("remove [--kinds LIST] [--jobs N]"), std::string::npos);
}

TEST_F(Cli, versionPrintsProgramAndVersionAndExitsZero) {
    const CliRun version = run({"--version"});
    EXPECT_EQ(version.status, ExitOk);
    EXPECT_EQ(version.out, "faultward-cli 1.0.11\n");
    EXPECT_EQ(version.err, "");
}

TEST_F(Cli, insertUsesStoredModeUnlessGiven) {
    const fs::path vbp = project_.write("App.vbp", crlf({"Module=M; M.bas"}));
    project_.write("M.bas", crlf({"Sub A()", "End Sub"}));
    settings_.write("ERRH.ini", "[OS]\r\nError_Flag=2\r\n");
    EXPECT_EQ(run({"insert", vbp.string()}).status, ExitOk);
    EXPECT_NE(readFile(project_ / "M.bas").find("I_Process_Errors"), std::string::npos);
    EXPECT_EQ(run({"insert", "--mode", "0", vbp.string()}).status, ExitOk);
    const std::string modeZero = readFile(project_ / "M.bas");
    EXPECT_NE(modeZero.find("MsgBox"), std::string::npos);
    EXPECT_EQ(modeZero.find("I_Process_Errors"), std::string::npos);
}

// The desktop program's Handler Settings are the defaults: the kinds of
// files and procedures, the template and line numbers; an option given wins,
// and --no-settings leaves ERRH.ini out.
TEST_F(Cli, handlerSettingsAreTheDefaultsAndOptionsOverrideThem) {
    const fs::path vbp =
        project_.write("App.vbp", crlf({"Module=M; M.bas", "Class=C; C.cls", "Form=F.frm"}));
    const std::string module = crlf({"Function F()", "    Beep", "End Function"});
    project_.write("M.bas", module);
    project_.write("C.cls", crlf({"Sub A()", "End Sub"}));
    project_.write("F.frm", crlf({"VERSION 5.00"}));
    const fs::path logTemplate =
        project_.write("log.txt", crlf({"[trap]", "On Error GoTo Fail_{procedure}", "[handler]",
                                        "Fail_{procedure}:", "Debug.Print Err.Number"}));
    settings_.write("ERRH.ini", "[OS]\r\nError_Flag=1\r\n[Handler]\r\nProcedures=Function\r\n"
                                "Files=bas,cls\r\nHandler=Template\r\nTemplate=" +
                                    logTemplate.string() + "\r\nLineNumbers=1\r\n");
    EXPECT_EQ(run({"list", vbp.string()}).out, "C.cls\nM.bas\n");
    EXPECT_EQ(run({"list", "--no-settings", vbp.string()}).out, "F.frm\nM.bas\n");

    EXPECT_EQ(run({"insert", vbp.string()}).status, ExitOk);
    const std::string inserted = readFile(project_ / "M.bas");
    EXPECT_NE(inserted.find("On Error GoTo Fail_F"), std::string::npos);
    EXPECT_NE(inserted.find("10 "), std::string::npos);                    // numbered
    EXPECT_EQ(readFile(project_ / "C.cls"), crlf({"Sub A()", "End Sub"})); // a Sub
    EXPECT_EQ(run({"check", "--handled", vbp.string()}).status, ExitOk);
    EXPECT_EQ(run({"remove", vbp.string()}).status, ExitOk);
    EXPECT_EQ(readFile(project_ / "M.bas"), module);

    EXPECT_EQ(run({"insert", "--mode", "0", "--procedures", "sub", vbp.string()}).status, ExitOk);
    EXPECT_NE(readFile(project_ / "C.cls").find("MsgBox"), std::string::npos);
    EXPECT_EQ(run({"remove", "--no-settings", "--kinds", "all", vbp.string()}).status, ExitOk);
    EXPECT_EQ(run({"insert", "--no-settings", vbp.string()}).status, ExitOk);
    EXPECT_EQ(readFile(project_ / "M.bas"), module); // Sub alone
    EXPECT_EQ(readFile(project_ / "C.cls"), crlf({"Sub A()", "End Sub"}));
}

// A stored setting never changes a command unannounced: the settings used
// are named once with their file, each switch has a --no- form, and a stored
// value that cannot be used names its file and key.
TEST_F(Cli, storedSettingsAreAnnouncedAndEachCanBeTurnedOff) {
    const fs::path vbp = project_.write("App.vbp", crlf({"Module=M; M.bas"}));
    const std::string handled = crlf({"Sub A()", "On Error Resume Next", "    Beep", "End Sub"});
    project_.write("M.bas", handled);
    const std::string ini = (settings_ / "ERRH.ini").string();
    settings_.write("ERRH.ini", "[OS]\r\nError_Flag=1\r\n[Handler]\r\nSkipHandled=1\r\n"
                                "LineNumbers=1\r\nFiles=bas,xls\r\n");
    const CliRun dry = run({"insert", "--dry-run", vbp.string()});
    EXPECT_EQ(dry.status, ExitOk);
    EXPECT_EQ(
        dry.err,
        "faultward-cli: warning: " + ini +
            " line 6 [Handler] Files=bas,xls: xls is not frm, bas, cls, ctl or doc; passed over\n"
            "faultward-cli: settings from " +
            ini +
            ": Files=bas, SkipHandled=1, LineNumbers=1, Error_Flag=1 "
            "(--no-settings leaves them out)\n");

    // --start goes with stored line numbers; without them it is refused.
    EXPECT_EQ(run({"insert", "--start", "100", vbp.string()}).status, ExitOk);
    EXPECT_NE(readFile(project_ / "M.bas").find("100 On Error Resume Next"), std::string::npos);
    EXPECT_EQ(readFile(project_ / "M.bas").find("ERR_A"), std::string::npos);
    const CliRun refused = run({"insert", "--no-line-numbers", "--start", "5", vbp.string()});
    EXPECT_EQ(refused.status, ExitUsage);
    EXPECT_NE(refused.err.find("--start applies to number, init and insert --line-numbers only"),
              std::string::npos);
    EXPECT_EQ(run({"insert", "--skip-handled", "--no-skip-handled", vbp.string()}).status,
              ExitUsage);

    // Both switches off: the stored ones say nothing more.
    const CliRun off = run({"insert", "--no-skip-handled", "--no-line-numbers", vbp.string()});
    EXPECT_EQ(off.status, ExitOk);
    EXPECT_EQ(off.err.find("SkipHandled"), std::string::npos);
    EXPECT_NE(readFile(project_ / "M.bas").find("ERR_A"), std::string::npos);
    EXPECT_NE(readFile(project_ / "M.bas").find("100 On Error Resume Next"), std::string::npos);
    EXPECT_EQ(run({"remove", "--no-line-numbers", vbp.string()}).status, ExitOk);
    EXPECT_NE(readFile(project_ / "M.bas").find("100 On Error Resume Next"), std::string::npos);

    // A stored template that cannot be used names the key and the way around it.
    settings_.write("ERRH.ini", "[Handler]\r\nHandler=Template\r\nTemplate=\r\n");
    const CliRun empty = run({"check", "--clean", vbp.string()});
    EXPECT_EQ(empty.status, ExitUsage);
    EXPECT_EQ(empty.err, "faultward-cli: settings from " + ini +
                             ": Handler=Template, Template= (--no-settings leaves them out)\n"
                             "faultward-cli: " +
                             ini +
                             " [Handler] Template= is empty; --mode or --template overrides it\n");
    settings_.write("ERRH.ini", "[Handler]\r\nHandler=Template\r\nTemplate=gone.txt\r\n");
    const CliRun gone = run({"check", vbp.string()});
    EXPECT_EQ(gone.status, ExitUsage);
    EXPECT_NE(gone.err.find(ini + " [Handler] Template=gone.txt: "), std::string::npos);
    EXPECT_EQ(run({"check", "--mode", "1", vbp.string()}).status, ExitOk);
    EXPECT_EQ(run({"check", "--no-settings", vbp.string()}).err, "");
}

// The project's own settings file sits between the options given and the
// user's ERRH.ini, is named whenever it is used, and its [Leave] files are
// worked on by no command.
TEST_F(Cli, projectSettingsComeBetweenTheOptionsAndTheUsersAndInitWritesThem) {
    const fs::path vbp =
        project_.write("App.vbp", crlf({"Module=M; M.bas", "Module=Old; Legacy\\Old.bas"}));
    const std::string module = crlf({"Sub A()", "    Beep", "End Sub"});
    project_.write("M.bas", module);
    project_.write("Legacy/Old.bas", module);
    project_.write("tpl/log.txt", crlf({"[trap]", "On Error GoTo Fail", "[handler]", "{exit}",
                                        "Fail:", "Log \"{project}\""}));
    settings_.write("ERRH.ini", "[OS]\r\nError_Flag=2\r\n[Handler]\r\nProcedures=Function\r\n");

    const CliRun init = run({"init", "--mode", "1", "--procedures", "sub", "--template",
                             (project_ / "tpl" / "log.txt").string(), vbp.string()});
    EXPECT_EQ(init.status, ExitUsage); // --mode and --template both choose
    const CliRun made = run({"init", "--procedures", "sub", "--template",
                             (project_ / "tpl/log.txt").string(), vbp.string()});
    ASSERT_EQ(made.status, ExitOk) << made.err;
    const fs::path kept = project_ / "App.faultward";
    EXPECT_EQ(made.out, kept.string() + "\n");
    // Its lines end as the project file's do.
    EXPECT_EQ(readFile(kept), crlf({"; Faultward's settings of this project, kept with it for "
                                    "everyone who works on it.",
                                    "", "[Handler]", "Handler=Template", "Procedures=Sub",
                                    "Template=tpl\\log.txt"}));
    project_.write("App.faultward", readFile(kept) + "\r\n[Leave]\r\nlegacy\\*.bas\r\n");

    const CliRun inserted = run({"insert", vbp.string()});
    EXPECT_EQ(inserted.status, ExitOk);
    EXPECT_EQ(inserted.err, "faultward-cli: settings from " + kept.string() +
                                ": Procedures=Sub, Handler=Template, Template=tpl\\log.txt, "
                                "[Leave] 1 item (--no-project-settings leaves them out)\n");
    EXPECT_NE(readFile(project_ / "M.bas").find("Log \"App\""), std::string::npos);
    EXPECT_EQ(readFile(project_ / "Legacy/Old.bas"), module); // left alone

    // An option wins over the project's file, which wins over ERRH.ini.
    EXPECT_EQ(run({"insert", "--mode", "0", vbp.string()}).status, ExitOk);
    EXPECT_NE(readFile(project_ / "M.bas").find("MsgBox"), std::string::npos);
    const CliRun users = run({"insert", "--no-project-settings", vbp.string()});
    EXPECT_EQ(users.err.find(kept.string()), std::string::npos);
    EXPECT_NE(users.err.find("Procedures=Function"), std::string::npos);
    EXPECT_EQ(readFile(project_ / "M.bas"), module); // Functions only, from ERRH.ini
}

// A group's [Leave] list names its projects' files and procedures from the
// group's folder, for every command and for check's records.
TEST_F(Cli, groupsLeaveListNamesEntriesFromTheGroupsFolder) {
    const std::string module =
        crlf({"Sub Run()", "    Beep", "End Sub", "Sub Other()", "    Beep", "End Sub"});
    project_.write("App/M.bas", module);
    project_.write("App/Old.bas", module);
    project_.write("App/App.vbp", crlf({"Module=M; M.bas", "Module=Old; Old.bas"}));
    const fs::path vbg = project_.write("All.vbg", crlf({"VBGROUP 5.0", "Project=App\\App.vbp"}));
    const fs::path kept = project_.write(
        "All.faultward", "[Leave]\nApp\\M.bas:Run\nApp\\Old.bas\nApp\\M.bas:Rn\nGone.bas\n");

    ASSERT_EQ(run({"insert", "--line-numbers", vbg.string()}).status, ExitOk);
    const std::string inserted = readFile(project_ / "App/M.bas");
    EXPECT_TRUE(inserted.starts_with(crlf({"Sub Run()", "    Beep", "End Sub", "Sub Other()"})));
    EXPECT_NE(inserted.find("10     Beep"), std::string::npos);
    EXPECT_EQ(readFile(project_ / "App/Old.bas"), module);
    const CliRun json = run({"check", "--format", "json", vbg.string()});
    EXPECT_EQ(json.out, "[\n{\"file\": \"App\\\\M.bas\", \"line\": 1, \"kind\": \"Sub\", "
                        "\"name\": \"Run\", \"state\": \"left-alone\", \"reason\": \"listed in "
                        "[Leave]\", \"numbers\": \"none\"},\n{\"file\": \"App\\\\M.bas\", "
                        "\"line\": 4, \"kind\": \"Sub\", \"name\": \"Other\", \"state\": "
                        "\"handler\", \"reason\": null, \"numbers\": \"tool\"},\n"
                        "{\"file\": \"App\\\\Old.bas\", \"line\": null, \"kind\": null, \"name\": "
                        "null, \"state\": \"left-alone\", \"reason\": \"listed in [Leave]\", "
                        "\"numbers\": null}\n]\n");
    // Items that name nothing are named: a misspelt one leaves nothing alone.
    const std::string warning = "faultward-cli: warning: " + kept.string() + " [Leave] ";
    EXPECT_TRUE(json.err.ends_with(warning +
                                   "App\\M.bas:Rn names no procedure of the kinds checked\n" +
                                   warning + "Gone.bas names no file of the kinds checked\n"))
        << json.err;
}

TEST_F(Cli, failuresAreNamedOnceAndExitOne) {
    const fs::path vbp =
        project_.write("App.vbp", crlf({"Module=M; Gone.bas", "Module=M; Ok.bas"}));
    project_.write("Ok.bas", crlf({"Sub A()", "End Sub"}));
    const CliRun result = run({"insert", vbp.string()});
    EXPECT_EQ(result.status, ExitSomeFilesFailed);
    EXPECT_EQ(result.err, "faultward-cli: Gone.bas: not found\n");
    EXPECT_NE(readFile(project_ / "Ok.bas").find("ERR_A"), std::string::npos);
}

// A file that cannot be written, a missing one and one past the line limit,
// in list order, with the same files and words from one worker or several.
TEST_F(Cli, reportsComeInListOrderWhateverTheJobs) {
    std::string big;
    for (int i = 0; i < 32001; ++i)
        big += "x\r\n";
    const auto projectIn = [&](const std::string& name) {
        project_.write(name + "/C.bas", big);
        project_.write(name + "/D.bas", crlf({"End Sub", "Sub D()", "End Sub"}));
        const fs::path locked = project_.write(name + "/A.bas", crlf({"Sub A()", "End Sub"}));
        fs::permissions(locked, fs::perms::owner_write, fs::perm_options::remove);
        return project_.write(name + "/App.vbp", crlf({"Module=D; D.bas", "Module=C; C.bas",
                                                       "Module=B; B.bas", "Module=A; A.bas"}));
    };
    const std::string expected = "faultward-cli: A.bas: not writable\n"
                                 "faultward-cli: B.bas: not found\n"
                                 "The file C.bas has exceeded 32000 lines of code!  Error handling "
                                 "cannot be inserted for the rest of this file.  Please reduce the "
                                 "number lines in this file and try again.\n";
    const CliRun alone = run({"insert", "--jobs", "1", projectIn("one").string()});
    EXPECT_EQ(alone.status, ExitSomeFilesFailed);
    EXPECT_EQ(alone.err, expected);
    const CliRun together = run({"insert", "--jobs=4", projectIn("many").string()});
    EXPECT_EQ(together.status, ExitSomeFilesFailed);
    EXPECT_EQ(together.err, expected);
    for (const char* file : {"A.bas", "C.bas", "D.bas"})
        EXPECT_EQ(readFile(project_ / "one" / file), readFile(project_ / "many" / file)) << file;
}

TEST_F(Cli, insertLeavesTheCentralHandlerWithoutHandlers) {
    const fs::path vbp = project_.write("App.vbp", crlf({"Module=M; M.bas"}));
    const std::string central = crlf({"Public Sub I_Process_Errors()", "    Log", "End Sub"});
    project_.write("M.bas", central + crlf({"Sub A()", "End Sub"}));
    EXPECT_EQ(run({"insert", "--mode", "2", vbp.string()}).status, ExitOk);
    const std::string processed = readFile(project_ / "M.bas");
    EXPECT_TRUE(
        processed.starts_with(central + crlf({"Sub A()", "ON ERROR GOTO ERR_A  '~Faultward~"})))
        << processed;
    EXPECT_NE(processed.find("  I_Process_Errors  '~Faultward~"), std::string::npos);
}

// Not every procedure got its handler, so the run did not do all it was asked.
TEST_F(Cli, lineLimitMessageGoesToStderrAndExitsOne) {
    std::string big;
    for (int i = 0; i < 32001; ++i)
        big += "x\r\n";
    project_.write("Big.bas", big);
    const fs::path vbp = project_.write("App.vbp", crlf({"Module=B; Big.bas"}));
    // A dry run says why it exits so, though no file would change.
    const CliRun dry = run({"insert", "--dry-run", vbp.string()});
    EXPECT_EQ(dry.status, ExitSomeFilesFailed);
    EXPECT_EQ(dry.out, "no file would change\nBig.bas: over 32000 lines; the procedures after "
                       "line 32000 would get no handlers\n");
    const CliRun result = run({"insert", vbp.string()});
    EXPECT_EQ(result.status, ExitSomeFilesFailed);
    EXPECT_NE(result.err.find("The file Big.bas has exceeded 32000 lines of code!"),
              std::string::npos);
}

// A person at a terminal reads names as text; a script reading a file or a
// pipe gets the bytes the project file holds.
TEST_F(Cli, entriesAreShownAsTextOnATerminalOnly) {
    const fs::path vbp = project_.write("App.vbp", crlf({"Form=caf\xe9.frm"}));
    EXPECT_EQ(run({"list", vbp.string()}).out, "caf\xe9.frm\n");
    EXPECT_EQ(run({"remove", vbp.string()}).err, "faultward-cli: caf\xe9.frm: not found\n");

    std::ostringstream out;
    std::ostringstream err;
    CliEnvironment terminal{out, err, true, settings_.path(), true};
    EXPECT_EQ(runCli({"list", vbp.string()}, terminal), ExitOk);
    EXPECT_EQ(out.str(), "caf\xc3\xa9.frm\n");
    EXPECT_EQ(runCli({"remove", vbp.string()}, terminal), ExitSomeFilesFailed);
    EXPECT_NE(err.str().find("faultward-cli: caf\xc3\xa9.frm: not found\n"), std::string::npos)
        << err.str();
}

// The real executable on a generated project: insert, then remove gives back
// every byte.
TEST(CliExecutable, insertThenRemoveRestoresAGeneratedProject) {
    TempFolder folder;
    const fs::path vbp = testing::generateVbProject(folder / "orig", {12, 400, 7});
    fs::copy(folder / "orig", folder / "work", fs::copy_options::recursive);
    const fs::path project = folder / "work" / vbp.filename();

    const fs::path cli = FAULTWARD_CLI;
    for (const std::string mode : {"0", "1", "2"}) {
        ASSERT_EQ(runProcess(cli, {"insert", "--mode", mode, project.string()}).exitCode, 0);
        std::size_t changed = 0;
        for (const auto& file : fs::recursive_directory_iterator(folder / "work"))
            if (file.is_regular_file() &&
                readFile(file.path()) !=
                    readFile(folder / "orig" / fs::relative(file.path(), folder / "work")))
                ++changed;
        EXPECT_GE(changed, 10u);
        ASSERT_EQ(runProcess(cli, {"remove", project.string()}).exitCode, 0);
        for (const auto& file : fs::recursive_directory_iterator(folder / "orig")) {
            if (file.is_regular_file()) {
                EXPECT_EQ(readFile(file.path()),
                          readFile(folder / "work" / fs::relative(file.path(), folder / "orig")))
                    << file.path();
            }
        }
    }
}

} // namespace
} // namespace faultward

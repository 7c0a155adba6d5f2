#include "app/desktop/menus.h"
#include "app/reports/check_report.h"
#include "app/reports/dry_run_report.h"
#include "app/settings/template_file.h"
#include "fake_desktop.h"
#include "rewrite/procedure_survey.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace faultward::coretest {
namespace {

namespace fs = std::filesystem;

const std::string kModule =
    crlf({"Sub A()", "    Beep", "End Sub", "Function F()", "    Beep", "End Function", "Sub H()",
          "    On Error Resume Next", "End Sub"});
const std::string kClass = crlf({"Property Get P()", "    P = 1", "End Property"});
const std::string kTemplate = "[trap]\nOn Error GoTo Fail\n[handler]\n{exit}\nFail:\n"
                              "Log \"{project}.{procedure}\"\n";

// What the engine writes for these options, for comparing the desktop's files with.
std::string engineOutput(const fs::path& file, InsertionOptions options,
                         std::optional<NumberingOptions> lineNumbers = std::nullopt) {
    TempFolder scratch;
    const fs::path copy = scratch.path() / file.filename();
    fs::copy_file(file, copy);
    const std::vector<ListEntry> entries = {{file.filename().string()}};
    CommandObserver quiet;
    PassTargets targets{entries, scratch.path(), std::move(options)};
    targets.lineNumbers = lineNumbers;
    runPassCommand(PassCommand::Insert, targets, quiet);
    return readFile(copy);
}

class SettingsCommands : public OpenedProject {
protected:
    // A project of M.bas alone, opened, with these settings chosen.
    void openModuleWith(const HandlerSettings& settings) {
        folder.write("M.bas", kModule);
        open({"Module=M; M.bas"});
        program.module.setHandlerSettings(settings);
    }
};

TEST_F(SettingsCommands, insertAndRemoveFollowTheSettings_removeGivesTheBytesBack) {
    folder.write("M.bas", kModule);
    folder.write("C.cls", kClass);
    const fs::path log = folder.write("Log.txt", kTemplate);
    open({"Name=\"Shop\"", "Module=M; M.bas", "Class=C; C.cls"});
    HandlerSettings settings;
    settings.procedures = kAllProcedureKinds;
    settings.skipHandled = true;
    settings.handler = HandlerSource::Template;
    settings.templatePath = log.string();
    program.module.setHandlerSettings(settings);

    const std::string expected = [&] {
        InsertionOptions options;
        options.procedures = kAllProcedureKinds;
        options.skipHandled = true;
        options.handlerTemplate = readTemplateFile(log.string(), "").handlerTemplate;
        options.projectName = "Shop";
        return engineOutput(folder / "M.bas", options);
    }();
    program.main.cmd_nav(Command::Insert);
    EXPECT_EQ(readFile(folder / "M.bas"), expected);
    EXPECT_NE(expected.find("Log \"Shop.F\""), std::string::npos);
    EXPECT_EQ(expected.find("Log \"Shop.H\""), std::string::npos); // handles its own errors
    EXPECT_EQ(readFile(folder / "C.cls"), kClass);                 // classes were not chosen
    EXPECT_TRUE(program.desktop.messages.empty());

    program.main.cmd_nav(Command::Remove);
    EXPECT_EQ(readFile(folder / "M.bas"), kModule);
}

TEST_F(SettingsCommands, lineNumbersSettingNumbersAtInsertAndTakesThemOutAtRemove) {
    HandlerSettings settings;
    settings.lineNumbers = true;
    openModuleWith(settings);
    // The preview shows the numbers Insert writes.
    program.main.cmd_nav(Command::Preview);
    ASSERT_EQ(program.desktop.reports.size(), 1u);
    EXPECT_NE(program.desktop.reports[0].find("\n+10     Beep"), std::string::npos);
    program.main.cmd_nav(Command::Insert);
    EXPECT_EQ(readFile(folder / "M.bas"),
              engineOutput(folder / "M.bas", InsertionOptions(), NumberingOptions()));
    EXPECT_NE(readFile(folder / "M.bas").find("10     Beep"), std::string::npos);
    program.main.cmd_nav(Command::Remove);
    EXPECT_EQ(readFile(folder / "M.bas"), kModule);
}

TEST_F(SettingsCommands, aTemplateGoneSinceItWasChosenStopsInsertWithOneMessage) {
    HandlerSettings settings;
    settings.handler = HandlerSource::Template;
    settings.templatePath = (folder / "Gone.txt").string();
    openModuleWith(settings);
    program.main.cmd_nav(Command::Insert);
    EXPECT_EQ(program.desktop.only({"play", "caption", "message"}),
              (std::vector<std::string>{"play 11", "message warning"}));
    EXPECT_EQ(program.desktop.messages,
              std::vector<std::string>{"The handler template " + (folder / "Gone.txt").string() +
                                       ": not found; nothing was changed."});
    EXPECT_EQ(readFile(folder / "M.bas"), kModule);
}

TEST_F(SettingsCommands, previewShowsCountsThenTheDiffWritesNothing_andItsInsertRunsInsert) {
    folder.write("M.bas", kModule);
    folder.write("N.bas", crlf({"Sub B()", "End Sub"}));
    open({"Module=M; M.bas", "Module=N; N.bas"});
    program.files.setSelected(1, false);

    program.main.cmd_nav(Command::Preview);
    ASSERT_EQ(program.desktop.reports.size(), 1u);
    DryRunFiles dryRun;
    CommandObserver quiet;
    const std::vector<ListEntry> ticked = {{"M.bas"}};
    runPassCommand(PassCommand::Insert, {ticked, folder.path(), InsertionOptions(), &dryRun},
                   quiet);
    EXPECT_EQ(program.desktop.reports[0], dryRunReport(dryRun, folder.path(), false) + "\n" +
                                              dryRunReport(dryRun, folder.path(), true));
    EXPECT_TRUE(program.desktop.reports[0].starts_with("M.bas: +"));
    EXPECT_EQ(readFile(folder / "M.bas"), kModule);
    EXPECT_EQ(
        program.desktop.only({"play", "pointer", "report"}),
        (std::vector<std::string>{"play 11", "pointer busy", "pointer default",
                                  "report Preview Insertion [&Insert] [&Save As...] [Close]"}));

    program.desktop.onReport = [](ReportWindow& window) {
        EXPECT_TRUE(window.press(ReportButton::Insert));
    };
    program.desktop.log.clear();
    program.main.cmd_nav(Command::Preview);
    EXPECT_EQ(program.desktop.only({"report", "caption Inserting"}),
              (std::vector<std::string>{"report Preview Insertion [&Insert] [&Save As...] [Close]",
                                        "caption Inserting Error Handling Code"}));
    EXPECT_EQ(readFile(folder / "M.bas"), dryRun.files()[0]->after);
    EXPECT_EQ(readFile(folder / "N.bas"), crlf({"Sub B()", "End Sub"}));
}

TEST_F(SettingsCommands, checkShowsTheCommandLinesReportForTheTickedEntries) {
    folder.write("M.bas", kModule);
    folder.write("N.bas", kModule);
    open({"Module=M; M.bas", "Module=N; N.bas"});
    program.files.setSelected(0, false);
    HandlerSettings settings;
    settings.procedures = {ProcedureKind::Sub, ProcedureKind::Function};
    settings.skipHandled = true;
    program.module.setHandlerSettings(settings);

    program.main.cmd_nav(Command::Check);
    InsertionOptions options;
    options.procedures = settings.procedures;
    options.skipHandled = true;
    EXPECT_EQ(program.desktop.reports,
              std::vector<std::string>{checkReport("N.bas", surveyFile(kModule, options))});
    EXPECT_EQ(program.desktop.only({"report"}),
              (std::vector<std::string>{"report Check Project [&Save As...] [Close]"}));
}

// Preview and Check touch nothing, and end their report naming what looks
// like an earlier run's leftover, once though Preview runs two passes.
TEST_F(SettingsCommands, previewAndCheckNameLeftoversAtTheEndAndLeaveThem) {
    folder.write("M.bas", kModule);
    folder.write(".M.bas.faultward-99997.old", "planted");
    open({"Module=M; M.bas"});
    program.main.cmd_nav(Command::Preview);
    program.main.cmd_nav(Command::Check);
    ASSERT_EQ(program.desktop.reports.size(), 2u);
    const std::string note = "\n" + (folder / ".M.bas.faultward-99997.old").string() +
                             " looks like a copy of old contents that Faultward keeps while it "
                             "writes " +
                             (folder / "M.bas").string() +
                             ", but no interrupted run of yours left it; it was left untouched.\n";
    for (const std::string& report : program.desktop.reports)
        EXPECT_TRUE(report.ends_with(note) && report.find(note) == report.size() - note.size())
            << report;
    EXPECT_EQ(readFile(folder / "M.bas"), kModule);
    EXPECT_EQ(readFile(folder / ".M.bas.faultward-99997.old"), "planted");
}

TEST_F(SettingsCommands, saveAsWritesTheBytesUnchanged_orSaysWhyNot_andTheWindowStays) {
    folder.write("M.bas", kModule);
    open({"Module=M; M.bas"});
    const fs::path saved = folder / "out.diff";
    const fs::path nowhere = folder / "no-such-folder" / "out.diff";
    program.desktop.saveAnswers = {std::nullopt, saved.string(), nowhere.string()};
    std::vector<bool> closes;
    program.desktop.onReport = [&](ReportWindow& window) {
        for (int i = 0; i < 3; ++i)
            closes.push_back(window.press(ReportButton::SaveAs));
        closes.push_back(window.press(ReportButton::Close));
    };
    program.main.cmd_nav(Command::Preview);
    EXPECT_EQ(closes, (std::vector<bool>{false, false, false, true}));
    ASSERT_EQ(program.desktop.saveRequests.size(), 3u);
    EXPECT_EQ(program.desktop.saveRequests[0].filter,
              "Differences (*.diff)|*.diff|All Files (*.*)|*.*");
    EXPECT_EQ(program.desktop.saveRequests[0].defaultExtension, "diff");
    EXPECT_EQ(readFile(saved), program.desktop.reports[0]);
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
    EXPECT_EQ(program.desktop.messages,
              std::vector<std::string>{"The file " + nowhere.string() +
                                       " could not be saved: not found."});
    EXPECT_EQ(readFile(folder / "M.bas"), kModule);

    program.desktop.saveAnswers = {std::nullopt};
    program.main.cmd_nav(Command::Check);
    EXPECT_EQ(program.desktop.saveRequests.back().filter,
              "Text files (*.txt)|*.txt|All Files (*.*)|*.*");
}

TEST_F(SettingsCommands, aGroupListsItsProjectsFilesInItsOrderFromItsFolder) {
    folder.write("Zed/Z.bas", kModule);
    folder.write("Zed/Z.vbp", crlf({"Module=Z; Z.bas"}));
    folder.write("App/B.bas", kModule);
    folder.write("App/A.bas", kModule);
    folder.write("App/App.vbp", crlf({"Name=\"Shop\"", "Module=B; B.bas", "Module=A; A.bas"}));
    const fs::path group =
        folder.write("All.vbg", crlf({"VBGROUP 5.0", "StartupProject=Zed\\Z.vbp",
                                      "Project=App\\App.vbp", "Project=Gone\\G.vbp"}));
    program.desktop.dialogAnswers.push_back(group.string());
    program.main.cmd_nav(Command::Open);
    EXPECT_EQ(program.desktop.only({"entries", "label", "message"}),
              (std::vector<std::string>{"entries", "entries Zed\\Z.bas- App\\A.bas- App\\B.bas-",
                                        "label " + group.string(), "message warning"}));
    EXPECT_EQ(program.desktop.messages[0], "The project file Gone\\G.vbp does not exist.");
    EXPECT_EQ(fs::current_path(), folder.path());

    // {project} is each file's own project, as the command line has it.
    HandlerSettings settings;
    settings.handler = HandlerSource::Template;
    settings.templatePath = folder.write("Log.txt", kTemplate).string();
    program.module.setHandlerSettings(settings);
    program.main.cmd_nav(Command::Insert);
    EXPECT_NE(readFile(folder / "App/A.bas").find("Log \"Shop.A\""), std::string::npos);
    EXPECT_NE(readFile(folder / "Zed/Z.bas").find("Log \"Z.A\""), std::string::npos);
}

TEST_F(SettingsCommands, aGroupsPreviewAndCheckNameEachProjectBeforeItsPart_asTheCommandLine) {
    folder.write("Zed/Z.bas", kModule);
    folder.write("Zed/Z.vbp", crlf({"Module=Z; Z.bas"}));
    folder.write("App/A.bas", crlf({"Sub A()", "    On Error Resume Next", "End Sub"}));
    folder.write("App/App.vbp", crlf({"Module=A; A.bas"}));
    const fs::path group = folder.write(
        "All.vbg", crlf({"VBGROUP 5.0", "StartupProject=Zed\\Z.vbp", "Project=App\\App.vbp"}));
    program.desktop.dialogAnswers.push_back(group.string());
    program.main.cmd_nav(Command::Open);
    HandlerSettings settings;
    settings.skipHandled = true;
    program.module.setHandlerSettings(settings);

    program.main.cmd_nav(Command::Preview);
    program.main.cmd_nav(Command::Check);
    ASSERT_EQ(program.desktop.reports.size(), 2u);
    DryRunFiles dryRun;
    CommandObserver quiet;
    // The entries as the list shows them; the paths from each project's folder.
    const std::vector<ListEntry> zed = {{"Zed\\Z.bas"}};
    InsertionOptions options;
    options.skipHandled = true;
    runPassCommand(PassCommand::Insert, {zed, folder.path(), options, &dryRun}, quiet);
    const std::string zedCounts = dryRunReport(dryRun, folder / "Zed", false);
    EXPECT_EQ(program.desktop.reports[0],
              "project: Zed\\Z.vbp\n" + zedCounts +
                  "project: App\\App.vbp\nno file would change\n" + "\nproject: Zed\\Z.vbp\n" +
                  dryRunReport(dryRun, folder / "Zed", true) + "project: App\\App.vbp\n");
    EXPECT_TRUE(zedCounts.starts_with("Zed\\Z.bas: +"));
    EXPECT_NE(program.desktop.reports[0].find("--- a/Z.bas"), std::string::npos);
    EXPECT_EQ(program.desktop.reports[1],
              "project: Zed\\Z.vbp\n" + checkReport("Zed\\Z.bas", surveyFile(kModule, options)) +
                  "project: App\\App.vbp\n" +
                  checkReport("App\\A.bas", surveyFile(readFile(folder / "App/A.bas"), options)));
}

} // namespace
} // namespace faultward::coretest

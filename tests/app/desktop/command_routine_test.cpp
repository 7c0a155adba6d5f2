#include "fake_desktop.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace faultward::coretest {
namespace {

namespace fs = std::filesystem;

using CommandRoutine = OpenedProject;

TEST_F(CommandRoutine, everyCommandStartsWithTheClickCue_andTheIdleNumbersDoNothingElse) {
    for (int index : {1, 3, 5, 8, -1, 32767}) {
        program.desktop.log.clear();
        program.main.cmd_nav(commandOfNumber(index));
        EXPECT_EQ(program.desktop.log, std::vector<std::string>{"play 11"}) << index;
    }
    program.desktop.log.clear();
    program.main.cmd_nav(Command::Exit);
    EXPECT_EQ(program.desktop.log, (std::vector<std::string>{"play 11", "end program"}));
    program.desktop.log.clear();
    program.main.cmd_nav(Command::Help);
    EXPECT_EQ(program.desktop.log, (std::vector<std::string>{"play 11", "help key"}));
    program.desktop.log.clear();
    program.desktop.dialogAnswers.push_back(std::nullopt);
    program.main.cmd_nav(Command::Open);
    EXPECT_EQ(program.desktop.log,
              (std::vector<std::string>{"play 11", "caption Faultward", "dialog"}));
}

TEST_F(CommandRoutine, insert_clicksStopsRemovesInsertsThenChimes) {
    folder.write("A.bas", kOneSubSource);
    open({"Module=A; A.bas"});
    program.main.cmd_nav(Command::Insert);
    EXPECT_EQ(program.desktop.only({"play", "stop", "caption", "pointer", "message"}),
              (std::vector<std::string>{"play 11", "stop", "caption Removing Error Handling Code",
                                        "pointer busy", "pointer default",
                                        "caption Faultward- Task Completed", "pointer busy",
                                        "caption Inserting Error Handling Code", "pointer default",
                                        "caption Faultward- Task Completed", "play 12"}));
    EXPECT_NE(readFile(folder / "A.bas").find("ERR_A"), std::string::npos);
}

// The stored mode reaches the handler block as it was stored: one without an
// item writes the ResumeNext block, and is saved back unchanged.
TEST_F(CommandRoutine, insert_withAStoredModeWithoutAnItem_writesResumeNextAndKeepsTheValue) {
    for (const std::string stored : {"7", "-1", "32767"}) {
        program.store.values["OS/Error_Flag"] = stored;
        program.module.Load_Settings(program.desktop);
        folder.write("A.bas", kOneSubSource);
        open({"Module=A; A.bas"});
        program.main.cmd_nav(Command::Insert);
        const std::string inserted = readFile(folder / "A.bas");
        EXPECT_NE(inserted.find("ERR_A:  '~Faultward~\r\n  RESUME NEXT"), std::string::npos)
            << stored;
        program.main.MDIForm_Unload();
        EXPECT_EQ(program.store.values["OS/Error_Flag"], stored);
    }
}

TEST_F(CommandRoutine, remove_runsTheRemovalPassOnly) {
    folder.write("A.bas", crlf({"Sub A()", "ON ERROR GOTO ERR_A  '~Faultward~", "End Sub"}));
    open({"Module=A; A.bas"});
    program.main.cmd_nav(Command::Remove);
    EXPECT_EQ(program.desktop.only({"play", "stop", "caption"}),
              (std::vector<std::string>{"play 11", "stop", "caption Removing Error Handling Code",
                                        "caption Faultward- Task Completed", "play 12"}));
    EXPECT_EQ(readFile(folder / "A.bas"), kOneSubSource);
}

// What looks like earlier runs' leftovers, none of this user's runs: one
// message names them all before the work (each once, though the command
// runs two passes), and leaves them and the files as they were.
TEST_F(CommandRoutine, leftoversOfOthers_areNamedInOneMessageBeforeTheWork) {
    folder.write("A.bas", kOneSubSource);
    folder.write(".A.bas.faultward-99997.old", "planted");
    folder.write(".B.bas.faultward-99996.tmp", "planted");
    open({"Module=A; A.bas"});
    program.main.cmd_nav(Command::Insert);
    EXPECT_EQ(program.desktop.only({"play 12", "message"}),
              (std::vector<std::string>{"message warning", "play 12"}));
    ASSERT_EQ(program.desktop.messages.size(), 1u);
    const std::string& message = program.desktop.messages[0];
    EXPECT_TRUE(message.starts_with((folder / ".A.bas.faultward-99997.old").string() +
                                    " looks like a copy of old contents"))
        << message;
    EXPECT_NE(message.find(".B.bas.faultward-99996.tmp looks like a temporary file of "
                           "Faultward's, but no interrupted run of yours left it; it was left "
                           "untouched."),
              std::string::npos)
        << message;
    EXPECT_EQ(readFile(folder / ".A.bas.faultward-99997.old"), "planted");
    EXPECT_NE(readFile(folder / "A.bas").find("ERR_A"), std::string::npos);
}

TEST_F(CommandRoutine, clickCueThatFailsToStart_endsTheCommandBeforeItsDispatch) {
    folder.write("A.bas", kOneSubSource);
    open({"Module=A; A.bas"});
    program.desktop.clickFails = true;
    for (int index : {0, 2, 4, 6, 7})
        program.main.cmd_nav(commandOfNumber(index));
    EXPECT_TRUE(program.desktop.log.empty());
    EXPECT_EQ(readFile(folder / "A.bas"), kOneSubSource);
}

TEST_F(CommandRoutine, filesNotProcessed_areNamedOnceAfterTheChime) {
    folder.write("A.bas", kOneSubSource);
    const fs::path locked = folder.write("Locked.bas", kOneSubSource);
    fs::permissions(locked, fs::perms::owner_read);
    open({"Module=A; A.bas", "Module=G; Gone.bas", "Module=L; Locked.bas"});
    program.main.cmd_nav(Command::Insert);
    EXPECT_EQ(program.desktop.only({"play 12", "message"}),
              (std::vector<std::string>{"play 12", "message warning"}));
    ASSERT_EQ(program.desktop.messages.size(), 1u);
    EXPECT_EQ(program.desktop.messages[0],
              "These selected files could not be processed and were left as they were:\n"
              "\nGone.bas: not found\nLocked.bas: not writable");
}

// Source control leaves files read-only; a box with a line for each of them
// would not fit on the screen.
TEST_F(CommandRoutine, longFailureList_namesTenFilesAndCountsTheRestWithAllInTheDetails) {
    std::vector<std::string> lines;
    const std::string longName = std::string(200, 'L') + ".bas";
    for (int i = 0; i < 150; ++i) {
        const std::string name = i == 0 ? longName : "R" + std::to_string(1000 + i) + ".bas";
        fs::permissions(folder.write(name, kOneSubSource), fs::perms::owner_read);
        lines.push_back("Module=M; " + name);
    }
    std::string project;
    for (const std::string& line : lines)
        project += line + "\r\n";
    program.desktop.dialogAnswers.push_back(folder.write("P.vbp", project).string());
    program.main.cmd_nav(Command::Open);
    program.main.cmd_nav(Command::Insert);

    ASSERT_EQ(program.desktop.messages.size(), 1u);
    std::vector<std::string> shown;
    std::istringstream message(program.desktop.messages[0]);
    for (std::string line; std::getline(message, line);)
        shown.push_back(line);
    ASSERT_EQ(shown.size(), 13u);
    EXPECT_EQ(shown[2], std::string(39, 'L') + "..." + std::string(20, 'L') + ".bas: not writable");
    EXPECT_EQ(shown[3], "R1001.bas: not writable");
    EXPECT_EQ(shown[11], "R1009.bas: not writable");
    EXPECT_EQ(shown[12], "and 140 more");
    for (const std::string& line : shown)
        EXPECT_LE(line.size(), kFailureLineLength);

    const std::string& details = program.desktop.details[0];
    EXPECT_TRUE(details.starts_with(longName + ": not writable\n"));
    EXPECT_NE(details.find("R1149.bas: not writable\n"), std::string::npos);
    EXPECT_EQ(std::count(details.begin(), details.end(), '\n'), 150);
}

// The list takes the keyboard once it holds the files, not after a cancel or
// a project without any.
TEST_F(CommandRoutine, open_readsTheProjectIntoASortedTickedListAndRemembersIt) {
    const fs::path vbp = folder.write(
        "P.vbp", crlf({"Module=M; Module1.bas", "Form=Form1.frm", "Class=C; C.cls", "Form=a.frm"}));
    program.desktop.dialogAnswers.push_back(vbp.string());
    program.main.cmd_nav(Command::Open);
    EXPECT_EQ(program.module.Project_File(), vbp.string());
    EXPECT_EQ(fs::current_path(), folder.path());
    EXPECT_EQ(
        program.desktop.only({"entries", "tick", "label", "enable", "current", "focus"}),
        (std::vector<std::string>{"entries", "entries a.frm- Form1.frm- Module1.bas-",
                                  "label " + vbp.string(), "tick 0 on", "tick 1 on", "tick 2 on",
                                  "enable insert remove", "current -1", "focus list"}));
    ASSERT_EQ(program.desktop.dialogRequests.size(), 1u);
    EXPECT_TRUE(program.desktop.dialogRequests[0].filter.starts_with(
        "All Files (*.*)|*.*|Visual Basic Project Files(*.vbp)|*.vbp|Visual Basic Projects "
        "and Groups (*.vbp;*.vbg)|*.vbp;*.vbg|Visual Basic Group (*.vbg)|*.vbg|Office Documents "
        "with Macros ("));
    EXPECT_NE(program.desktop.dialogRequests[0].filter.find("|*.xlsm;*.xlsb;"), std::string::npos);
    EXPECT_EQ(program.desktop.dialogRequests[0].filterIndex, 2);

    // The next dialog starts at the project just opened.
    program.desktop.log.clear();
    program.desktop.dialogAnswers.push_back(std::nullopt);
    program.main.cmd_nav(Command::Open);
    EXPECT_EQ(program.desktop.dialogRequests[1].fileName, vbp.string());
    program.desktop.dialogAnswers.push_back(folder.write("Empty.vbp", "").string());
    program.main.cmd_nav(Command::Open);
    EXPECT_TRUE(program.desktop.only({"focus"}).empty());
}

TEST_F(CommandRoutine, openUnreadableProject_keepsThePathEmptiesTheListAndSaysSo) {
    folder.write("A.bas", kOneSubSource);
    open({"Module=A; A.bas"});
    const std::string missing = (folder / "Missing.vbp").string();
    program.desktop.dialogAnswers.push_back(missing);
    program.main.cmd_nav(Command::Open);
    EXPECT_EQ(program.module.Project_File(), missing);
    EXPECT_TRUE(program.files.entries().empty());
    EXPECT_EQ(program.desktop.only({"entries", "label", "message", "focus"}),
              (std::vector<std::string>{"entries", "message warning"}));
    EXPECT_EQ(program.desktop.messages.back(), "The project file " + missing + " does not exist.");
}

TEST_F(CommandRoutine, optionsMenu_checksOneItemAndSetsTheMode_closeSavesExitDoesNot) {
    program.desktop.log.clear();
    program.main.mnu_o_Click(2);
    EXPECT_EQ(program.desktop.log, (std::vector<std::string>{"mode 0 cleared", "mode 1 cleared",
                                                             "mode 2 cleared", "mode 2 checked"}));
    EXPECT_EQ(program.module.Error_Flag(), HandlingMode::CentralHandler);

    program.main.cmd_nav(Command::Exit);
    EXPECT_TRUE(program.store.values.empty());
    program.main.MDIForm_Unload();
    EXPECT_EQ(program.store.values["OS/Error_Flag"], "2");
    EXPECT_EQ(program.store.values["OS/Project_File"], "");
}

TEST(LoadSettings, storedModeChecksItsItemOrNone) {
    for (const auto& [stored, log] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"2", {"mode 2 checked"}}, {"7", {}}, {"-1", {}}, {"0", {"mode 0 checked"}}}) {
        MemoryStore store;
        store.values["OS/Error_Flag"] = stored;
        FakeDesktop desktop;
        Module1 module(store, "/app");
        module.Load_Settings(desktop);
        EXPECT_EQ(desktop.log, log) << stored;
        EXPECT_EQ(module.App_Path(), "/app");
    }
}

TEST(HelpMenu, indexSendsTheHelpKeyAboutShowsTheAboutWindowAndNeitherClicks) {
    CoreProgram program;
    program.desktop.log.clear();
    program.main.mnu_h_Click(0);
    program.main.mnu_h_Click(1);
    program.main.mnu_h_Click(2);
    EXPECT_EQ(program.desktop.log, (std::vector<std::string>{"help key", "about"}));
}

} // namespace
} // namespace faultward::coretest

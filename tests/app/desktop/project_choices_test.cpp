// A project's own settings file, as the desktop keeps its choices in it.
#include "app/desktop/menus.h"
#include "app/settings/project_settings.h"
#include "app/texts/texts.h"
#include "fake_desktop.h"

#include <gtest/gtest.h>

namespace faultward::coretest {
namespace {

namespace fs = std::filesystem;

const std::string kModule = crlf({"Sub A()", "    Beep", "End Sub", "Sub B()",
                                  "    On Error Resume Next", "End Sub", "Sub C(): End Sub"});

class ProjectChoicesTest : public OpenedProject {
protected:
    void SetUp() override {
        folder.write("M.bas", kModule);
        folder.write("N.bas", crlf({"Sub N()", "End Sub"}));
        open({"Module=M; M.bas", "Module=N; N.bas"});
    }
    std::string kept() const { return readFile(folder / "P.faultward"); }
    // A new settings file's lines end as the project file's do.
    static std::string projectLines(std::string_view text) {
        std::string lines;
        for (const char c : text)
            lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return lines;
    }
};

// The files's procedures open under it with their states; unticking one
// makes the project's file, which the next open reads, and ticking takes it
// out again. A file's tick is kept only once the file is there.
TEST_F(ProjectChoicesTest, procedureTicksAreKeptInTheProjectsFile_fileTicksOnceItIsThere) {
    program.files.setSelected(1, false);
    EXPECT_FALSE(fs::exists(folder / "P.faultward"));
    program.files.setSelected(1, true);

    program.files.expandEntry(0);
    EXPECT_EQ(program.desktop.procedures[0],
              (std::vector<ProcedureRow>{{"Sub A", "no handler", true},
                                         {"Sub B", "handles its own errors", true},
                                         {"Sub C", "left alone: one-line", true}}));
    program.files.setProcedureSelected(0, 0, false);
    EXPECT_EQ(kept(), projectLines("; Faultward's settings of this project, kept with it for "
                                   "everyone who works on it.\n\n[Leave]\nM.bas:A\n"));
    EXPECT_EQ(program.desktop.procedures[0][0],
              (ProcedureRow{"Sub A", "left alone: listed in [Leave]", false}));
    // Add Line Numbers numbers the others and keeps it whole, without a word.
    program.main.cmd_nav(Command::AddLineNumbers);
    EXPECT_TRUE(readFile(folder / "M.bas").starts_with(crlf({"Sub A()", "    Beep", "End Sub"})));
    EXPECT_EQ(program.desktop.procedures[0][1],
              (ProcedureRow{"Sub B", "handles its own errors; numbered", true}));
    EXPECT_TRUE(program.desktop.messages.empty());

    program.files.setSelected(1, false); // now kept
    EXPECT_EQ(kept().substr(kept().find("[Leave]")), projectLines("[Leave]\nM.bas:A\nN.bas\n"));

    // Opened again, the list shows the choices.
    program.desktop.log.clear();
    open({"Module=M; M.bas", "Module=N; N.bas"});
    program.files.expandEntry(0);
    EXPECT_FALSE(program.desktop.procedures[0][0].selected);
    EXPECT_FALSE(program.files.entries()[1].selected);
    program.files.setProcedureSelected(0, 0, true);
    program.files.cmd_sel_Click(0);
    EXPECT_EQ(kept().substr(kept().find("[Leave]")), projectLines("[Leave]\n"));

    // A wider line of the file cannot be untangled by a tick.
    folder.write("P.faultward", "[Leave]\n*:B\n");
    open({"Module=M; M.bas", "Module=N; N.bas"});
    program.files.expandEntry(0);
    program.files.setProcedureSelected(0, 1, true);
    ASSERT_FALSE(program.desktop.messages.empty());
    EXPECT_EQ(program.desktop.messages.back(),
              "B is still left alone by a line of " + (folder / "P.faultward").string() +
                  " that names more than it; change that line there.");
    EXPECT_EQ(readFile(folder / "P.faultward"), "[Leave]\n*:B\n");
}

// "Keep with the project" puts every handler setting in the project's file,
// over this user's, and the Options menu then changes the project's mode;
// unticked, the settings are the user's again and the file keeps none.
TEST_F(ProjectChoicesTest, handlerSettingsKeptWithTheProjectOverTheUsers) {
    program.desktop.onSettings = [](HandlerSettingsDialog& dialog) {
        EXPECT_EQ(dialog.keepWithProjectCaption(), "&Keep with the project (P.faultward)");
        EXPECT_FALSE(dialog.keepWithProject());
        dialog.setProcedureKind(ProcedureKind::Function, true);
        dialog.setKeepWithProject(true);
        EXPECT_EQ(dialog.ok(), std::nullopt);
    };
    program.main.mnu_o_Click(kHandlerSettingsItem);
    program.main.mnu_o_Click(2);
    EXPECT_EQ(kept(), projectLines("; Faultward's settings of this project, kept with it for "
                                   "everyone who works on it.\n\n[Handler]\nFiles=frm,bas\n"
                                   "Handler=Mode\nLineNumbers=0\nMode=2\n"
                                   "Procedures=Sub,Function\nSkipHandled=0\n"));
    EXPECT_EQ(program.module.handlerSettings(), HandlerSettings());
    EXPECT_EQ(program.module.Error_Flag(), HandlingMode::ShowMessage);
    program.main.cmd_nav(Command::Insert);
    EXPECT_NE(readFile(folder / "N.bas").find("I_Process_Errors"), std::string::npos);

    program.desktop.onSettings = [](HandlerSettingsDialog& dialog) {
        EXPECT_TRUE(dialog.keepWithProject());
        dialog.setKeepWithProject(false);
        EXPECT_EQ(dialog.ok(), std::nullopt);
    };
    program.main.mnu_o_Click(kHandlerSettingsItem);
    EXPECT_EQ(kept().find("Mode="), std::string::npos);
    EXPECT_EQ(program.module.Error_Flag(), HandlingMode::CentralHandler);
    EXPECT_TRUE(program.module.handlerSettings().procedures.has(ProcedureKind::Function));
}

// A project's file that cannot be read as text leaves every file alone, as
// the command line refuses such a project, and no tick writes into it.
TEST_F(ProjectChoicesTest, aFileThatCannotBeReadLeavesEveryEntryAlone) {
    const std::string wide("\xFF\xFE[\0L\0]\0", 8);
    folder.write("P.faultward", wide);
    open({"Module=M; M.bas", "Module=N; N.bas"});
    EXPECT_EQ(program.desktop.messages.back(),
              "The project's settings " + (folder / "P.faultward").string() +
                  " could not be read: " + std::string(kUtf16SettingsCause) +
                  ". Its files are left alone.");
    EXPECT_FALSE(program.files.entries()[0].selected);
    program.files.setSelected(0, true);
    EXPECT_FALSE(program.files.entries()[0].selected);
    program.main.cmd_nav(Command::Insert);
    EXPECT_EQ(readFile(folder / "M.bas"), kModule);
    EXPECT_EQ(kept(), wide);
}

// A group opened in the desktop reads each project's own file too: its
// [Leave] items leave that project's entries alone (and only those), a tick
// they hold back names the file that holds it, and [Handler] keys the group
// does not use are named.
TEST_F(ProjectChoicesTest, aGroupsProjectsOwnListsLeaveTheirEntriesAlone) {
    folder.write("App/M.bas", kModule);
    folder.write("App/Old.bas", kModule);
    folder.write("Lib/Old.bas", kModule);
    folder.write("App/App.vbp", crlf({"Module=M; M.bas", "Module=Old; Old.bas"}));
    folder.write("Lib/Lib.vbp", crlf({"Module=Old; Old.bas"}));
    folder.write("App/App.faultward", "[Handler]\nSkipHandled=1\n[Leave]\nOld.bas\nM.bas:A\n");
    const fs::path vbg = folder.write(
        "All.vbg", crlf({"VBGROUP 5.0", "Project=App\\App.vbp", "Project=Lib\\Lib.vbp"}));
    program.desktop.dialogAnswers.push_back(vbg.string());
    program.main.cmd_nav(Command::Open);

    const std::string own = (folder / "App" / "App.faultward").string();
    EXPECT_EQ(program.desktop.messages,
              std::vector<std::string>{own +
                                       " [Handler] SkipHandled=1: not used, as a group runs "
                                       "with its own settings; keep them in " +
                                       (folder / "All.faultward").string() +
                                       ", or work on the project alone"});
    const auto& entries = program.files.entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, "App\\M.bas");
    EXPECT_TRUE(entries[0].selected);
    EXPECT_FALSE(entries[1].selected); // App\Old.bas
    EXPECT_TRUE(entries[2].selected);  // Lib\Old.bas: another project's
    program.files.setSelected(1, true);
    EXPECT_FALSE(program.files.entries()[1].selected);
    EXPECT_EQ(program.desktop.messages.back(),
              "App\\Old.bas is still left alone by a line of " + own +
                  " that names more than it; change that line there.");

    program.main.cmd_nav(Command::Insert);
    EXPECT_TRUE(
        readFile(folder / "App/M.bas").starts_with(crlf({"Sub A()", "    Beep", "End Sub"})));
    EXPECT_EQ(readFile(folder / "App/Old.bas"), kModule);
    EXPECT_NE(readFile(folder / "Lib/Old.bas"), kModule);
}

} // namespace
} // namespace faultward::coretest

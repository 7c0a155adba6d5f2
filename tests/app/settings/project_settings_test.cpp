// A project's own settings file, changed line by line.
#include "app/settings/handler_settings.h"
#include "app/settings/project_settings.h"
#include "app/texts/texts.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace faultward {
namespace {

// What the user wrote stays as written, line ends and comments included;
// what the program adds goes where sorting puts it, and a save that changes
// nothing writes nothing.
TEST(ProjectSettingsFile, keepsTheUsersLinesAndEndsAndSortsWhatItAdds) {
    TempFolder folder;
    const std::string written = "; ours\r\n[Handler]\r\nprocedures = Sub\r\nStep=5\r\n\r\n"
                                "[Leave]\r\n; legacy code\r\nModules\\Old.bas\r\nz.bas:Go";
    folder.write("App.faultward", written);
    ProjectSettingsFile file(projectSettingsPath(folder / "App.vbp"));
    ASSERT_EQ(file.load(), std::nullopt);
    EXPECT_EQ(file.leaveItems(), (std::vector<std::string>{"Modules\\Old.bas", "z.bas:Go"}));
    EXPECT_EQ(file.readString("handler", "PROCEDURES", "", 64), "Sub");

    EXPECT_FALSE(file.setLeft("modules/old.BAS", true)); // the same item, in other words
    EXPECT_EQ(file.save(), std::nullopt);
    EXPECT_EQ(readFile(folder / "App.faultward"), written);

    file.writeString("Handler", "Mode", "1");
    EXPECT_TRUE(file.setLeft("Forms\\Main.frm:Form_Load", true));
    EXPECT_TRUE(file.setLeft("z.bas:Go", false));
    EXPECT_EQ(file.save(), std::nullopt);
    EXPECT_EQ(readFile(folder / "App.faultward"),
              "; ours\r\n[Handler]\r\nMode=1\r\nprocedures = Sub\r\nStep=5\r\n\r\n"
              "[Leave]\r\n; legacy code\r\nForms\\Main.frm:Form_Load\r\nModules\\Old.bas");

    // A file that cannot be written says why and is left as it was.
    folder.write("Blocked", "");
    ProjectSettingsFile blocked(folder / "Blocked" / "App.faultward");
    ASSERT_EQ(blocked.load(), std::nullopt);
    blocked.setLeft("A.bas", true);
    EXPECT_NE(blocked.save(), std::nullopt);
    EXPECT_EQ(readFile(folder / "Blocked"), "");
}

// What an older editor saves: a UTF-8 byte-order mark before the first
// section, which is read past and kept. UTF-16 is refused by name, and no
// change is ever written into it.
TEST(ProjectSettingsFile, aByteOrderMarkIsReadPastAndKept_utf16IsRefusedAndNeverWritten) {
    TempFolder folder;
    folder.write("App.faultward", "\xEF\xBB\xBF[Leave]\r\nOld.bas\r\n");
    ProjectSettingsFile marked(folder / "App.faultward");
    ASSERT_EQ(marked.load(), std::nullopt);
    EXPECT_EQ(marked.leaveItems(), std::vector<std::string>{"Old.bas"});
    marked.setLeft("New.bas", true);
    ASSERT_EQ(marked.save(), std::nullopt);
    EXPECT_EQ(readFile(folder / "App.faultward"), "\xEF\xBB\xBF[Leave]\r\nNew.bas\r\nOld.bas\r\n");

    const std::string wide("\xFF\xFE[\0H\0]\0\r\0\n\0", 12);
    folder.write("Wide.faultward", wide);
    ProjectSettingsFile utf16(folder / "Wide.faultward");
    EXPECT_EQ(utf16.load(), std::string(kUtf16SettingsCause));
    writeHandlerKeys(utf16, StoredHandlerSettings{.step = 30});
    EXPECT_EQ(utf16.save(), std::string(kUtf16SettingsCause));
    EXPECT_EQ(readFile(folder / "Wide.faultward"), wide);
}

// A merge that kept both sides leaves two sections of a name: they read as
// one. What a person most likely got wrong is named with its line: a key
// given twice (the first is used), a key or section no one reads, a value
// no setting has.
TEST(ProjectSettingsFile, sectionsOfOneNameReadAsOne_andWhatIsNotUsedIsNamedWithItsLine) {
    TempFolder folder;
    folder.write("App.faultward", "[Handler]\nStep=5\nBogus=secret\n[Leave]\nA.bas\n"
                                  "[Handler]\nMode=7\nstep=9\n[Leeve]\nB.bas\n[leave]\nC.bas:Go\n");
    ProjectSettingsFile file(folder / "App.faultward");
    ASSERT_EQ(file.load(), std::nullopt);
    EXPECT_EQ(file.leaveItems(), (std::vector<std::string>{"A.bas", "C.bas:Go"}));
    const SettingsLayer layer = projectSettingsLayer(file, folder.path());
    EXPECT_EQ(layer.values.step, 5);
    EXPECT_EQ(layer.values.mode, handlingModeOf(7));
    EXPECT_EQ(layer.values.warnings,
              (std::vector<std::string>{
                  "line 9 [Leeve] is not a section Faultward reads; passed over",
                  "line 3 [Handler] Bogus= is not a key Faultward reads; passed over",
                  "line 8 [Handler] step= again: line 2's is used, this one is passed over",
                  "line 7 [Handler] Mode=7: not 0, 1 or 2; acts as 1"}));

    // A new key goes into the first section of the name; a removed one
    // leaves every section.
    file.writeString("Handler", "Start", "100");
    file.removeKey("Handler", "Step");
    file.setLeft("C.bas:Go", false);
    ASSERT_EQ(file.save(), std::nullopt);
    EXPECT_EQ(readFile(folder / "App.faultward"),
              "[Handler]\nStart=100\nBogus=secret\n[Leave]\nA.bas\n"
              "[Handler]\nMode=7\n[Leeve]\nB.bas\n[leave]\n");
}

// init's keys that already mean what it writes stay in their words, and a
// line that ends otherwise than the first keeps its ending; a new file's
// lines end as the project file's beside it.
TEST(ProjectSettingsFile, keysThatMeanTheValueAlreadyStayAsWritten_newFilesEndAsTheProjectFile) {
    TempFolder folder;
    const std::string hand = "[Handler]\r\nlinenumbers = 1\r\nprocedures=sub, function\n"
                             "Files=BAS,frm\r\nStep = 10\r\n";
    folder.write("App.faultward", hand);
    ProjectSettingsFile file(folder / "App.faultward");
    ASSERT_EQ(file.load(), std::nullopt);
    StoredHandlerSettings same;
    same.lineNumbers = true;
    same.procedures = ProcedureKinds{ProcedureKind::Sub, ProcedureKind::Function};
    same.files = SourceKinds{SourceKind::Form, SourceKind::Module};
    same.step = 10;
    writeHandlerKeys(file, same);
    ASSERT_EQ(file.save(), std::nullopt);
    EXPECT_EQ(readFile(folder / "App.faultward"), hand);
    writeHandlerKeys(file, StoredHandlerSettings{.step = 30});
    ASSERT_EQ(file.save(), std::nullopt);
    EXPECT_EQ(readFile(folder / "App.faultward"),
              "[Handler]\r\nlinenumbers = 1\r\nprocedures=sub, function\n"
              "Files=BAS,frm\r\nStep=30\r\n");

    for (const std::string ending : {"\n", "\r\n"}) {
        const auto project = folder.write("Lf/App.vbp", "Module=M; M.bas" + ending);
        std::filesystem::remove(folder / "Lf" / "App.faultward");
        ProjectSettingsFile fresh(projectSettingsPath(project), project);
        ASSERT_EQ(fresh.load(), std::nullopt);
        fresh.setLeft("M.bas", true);
        ASSERT_EQ(fresh.save(), std::nullopt);
        EXPECT_EQ(readFile(folder / "Lf" / "App.faultward"),
                  "; Faultward's settings of this project, kept with it for everyone who works "
                  "on it." +
                      ending + ending + "[Leave]" + ending + "M.bas" + ending);
    }
    // A document's settings end as its modules' lines do, a folder's as its
    // first module's: the same bytes on every system.
    const auto freshLeave = [](const std::filesystem::path& listed) {
        ProjectSettingsFile fresh(projectSettingsPath(listed), listed);
        EXPECT_EQ(fresh.load(), std::nullopt);
        fresh.setLeft("M.bas", true);
        EXPECT_EQ(fresh.save(), std::nullopt);
        const std::string text = readFile(projectSettingsPath(listed));
        return text.substr(text.find('['));
    };
    EXPECT_EQ(freshLeave(folder.write("Book.xlsm", "PK\x03\x04\n")), "[Leave]\r\nM.bas\r\n");
    folder.write("Lf/Export/A.bas", "Sub A()\nEnd Sub\n");
    folder.write("Lf/Export/B.bas", "Sub B()\r\nEnd Sub\r\n");
    EXPECT_EQ(freshLeave(folder / "Lf" / "Export"), "[Leave]\nM.bas\n");
}

// A save makes its changes again on what the file holds when it is saved,
// so a change another program made after the load stays.
TEST(ProjectSettingsFile, aChangeMadeMeanwhileByAnotherStays) {
    TempFolder folder;
    folder.write("App.faultward", "[Handler]\nMode=1\n[Leave]\nA.bas\n");
    ProjectSettingsFile file(folder / "App.faultward");
    ASSERT_EQ(file.load(), std::nullopt);
    file.setLeft("B.bas", true);
    file.writeString("Handler", "Step", "5");
    folder.write("App.faultward", "[Handler]\nMode=2\n[Leave]\nA.bas\nZ.bas\n");
    ASSERT_EQ(file.save(), std::nullopt);
    EXPECT_EQ(readFile(folder / "App.faultward"),
              "[Handler]\nMode=2\nStep=5\n[Leave]\nA.bas\nB.bas\nZ.bas\n");
}

// One far larger than settings ever are is refused unread.
TEST(ProjectSettingsFile, oneOverTheLimitIsRefusedByItsSize) {
    TempFolder folder;
    const auto big = folder.write("App.faultward", "[Leave]\n");
    std::filesystem::resize_file(big, 300u << 20);
    ProjectSettingsFile file(big);
    EXPECT_EQ(file.load(), "it holds 300 MB, over the 16 MB a project's settings file may hold");
    file.setLeft("A.bas", true);
    EXPECT_NE(file.save(), std::nullopt);
    EXPECT_EQ(std::filesystem::file_size(big), 300u << 20);
}

} // namespace
} // namespace faultward

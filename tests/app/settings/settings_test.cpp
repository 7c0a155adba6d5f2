#include "app/settings/handler_settings.h"
#include "app/settings/settings.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <map>

namespace faultward {
namespace {

TEST(ErrorFlag, leadingNumberRoundedHalfToEven) {
    const std::map<std::string, std::optional<std::int16_t>> cases = {
        {"0", 0},
        {"2", 2},
        {"1.5", 2},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"abc", 0},
        {"", 0},
        {"  1", 1},
        {"2abc", 2},
        {"1 2", 12},
        {"-5", -5},
        {"&H10", 16},
        {"&HFFFF", -1},
        {"1e2", 100},
        {"32767", 32767},
        {"32768", std::nullopt},
        {"-32769", std::nullopt},
        {"99999", std::nullopt},
        {"1e400", std::nullopt},
        {".5", 0},
        {"+1", 1},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parseErrorFlag(text), expected) << '"' << text << '"';
}

TEST(Settings, loadMissingFile_usesDefaults) {
    TempFolder folder;
    IniFileStore store(folder / "ERRH.ini");
    const Settings settings = loadSettings(store);
    EXPECT_EQ(settings.projectFile, "");
    EXPECT_EQ(settings.errorFlag, HandlingMode::ShowMessage);
}

TEST(Settings, saveWritesTheThreeLineFile) {
    TempFolder folder;
    IniFileStore store(folder / "ERRH.ini");
    saveSettings(store, {"/home/me/App.vbp", HandlingMode::CentralHandler});
    EXPECT_EQ(readFile(folder / "ERRH.ini"),
              "[OS]\r\nProject_File=/home/me/App.vbp\r\nError_Flag=2\r\n");
    const Settings back = loadSettings(store);
    EXPECT_EQ(back.projectFile, "/home/me/App.vbp");
    EXPECT_EQ(back.errorFlag, HandlingMode::CentralHandler);
}

TEST(Settings, readRules_limitTrimQuotesFirstKeyAndCase) {
    TempFolder folder;
    const std::string longPath(600, 'p');
    folder.write("a.ini", "[os]\r\n project_file =  " + longPath +
                              "  \r\nError_Flag=\"2\"\r\n"
                              "Error_Flag=1\r\n");
    IniFileStore store(folder / "a.ini");
    const Settings settings = loadSettings(store);
    EXPECT_EQ(settings.projectFile, std::string(511, 'p'));
    EXPECT_EQ(settings.errorFlag, HandlingMode::CentralHandler);
}

TEST(Settings, outOfRangeModeKeepsZero) {
    TempFolder folder;
    folder.write("ERRH.ini", "[OS]\nError_Flag=99999\n");
    IniFileStore store(folder / "ERRH.ini");
    EXPECT_EQ(loadSettings(store).errorFlag, HandlingMode::ShowMessage);
}

TEST(Settings, writeKeepsOtherSectionsKeysAndBytes) {
    TempFolder folder;
    folder.write("ERRH.ini", "; mine\n[Other]\nKey=Value\n\n[OS]\nError_Flag=1\nExtra=x\n\n"
                             "[Later]\nA=B");
    IniFileStore store(folder / "ERRH.ini");
    saveSettings(store, {"P.vbp", HandlingMode::ShowMessage});
    EXPECT_EQ(readFile(folder / "ERRH.ini"),
              "; mine\n[Other]\nKey=Value\n\n[OS]\nError_Flag=0\nExtra=x\nProject_File=P.vbp\r\n"
              "\n[Later]\nA=B\r\n");
}

TEST(Settings, newSectionIsAppendedAfterOthers) {
    TempFolder folder;
    folder.write("ERRH.ini", "[Other]\r\nKey=Value\r\n");
    IniFileStore store(folder / "ERRH.ini");
    EXPECT_TRUE(store.writeString("OS", "Error_Flag", "1"));
    EXPECT_EQ(readFile(folder / "ERRH.ini"),
              "[Other]\r\nKey=Value\r\n\r\n[OS]\r\nError_Flag=1\r\n");
}

TEST(Settings, unwritableFolder_failsQuietlyAndKeepsNothingHalfWritten) {
    TempFolder folder;
    IniFileStore store(folder / "no-such-folder" / "ERRH.ini");
    EXPECT_FALSE(store.writeString("OS", "Error_Flag", "1"));
    saveSettings(store, {"x", HandlingMode::ResumeNext}); // must not throw
    EXPECT_FALSE(std::filesystem::exists(folder / "no-such-folder"));
}

// Closing reads ERRH.ini once and replaces it once; a setting the user wrote
// in words of their own stays as written while it means what the program
// holds, and what it cannot use is named.
TEST(Settings, savingKeepsTheUsersWordsRewritesOnlyWhatChanged_andNamesWhatItCannotUse) {
    TempFolder folder;
    const std::string written = "[OS]\r\nProject_File=\r\nError_Flag=0\r\n"
                                "[Handler]\r\nProcedures = sub, Bogus\r\nFiles=FRM,BAS ; ours\r\n"
                                "SkipHandled=yes\r\n";
    folder.write("ERRH.ini", written);
    IniFileStore store(folder / "ERRH.ini");
    const StoredHandlerSettings stored = readHandlerSection(store);
    EXPECT_EQ(stored.warnings,
              (std::vector<std::string>{"line 5 [Handler] Procedures=sub, Bogus: Bogus is not "
                                        "Sub, Function or Property; passed over",
                                        "line 6 [Handler] Files=FRM,BAS ; ours: BAS ; ours is not "
                                        "frm, bas, cls, ctl or doc; passed over"}));
    HandlerSettings settings = withDefaults(stored);
    EXPECT_EQ(settings.files, SourceKinds(SourceKind::Form));
    EXPECT_TRUE(settings.skipHandled);

    store.beginEdit();
    saveSettings(store, {"/p/A.vbp", HandlingMode::ResumeNext});
    saveHandlerSettings(store, settings);
    EXPECT_EQ(store.commitEdit(), std::nullopt);
    const std::string saved =
        "[OS]\r\nProject_File=/p/A.vbp\r\nError_Flag=1\r\n[Handler]\r\n"
        "Procedures = sub, Bogus\r\nFiles=FRM,BAS ; ours\r\nSkipHandled=yes\r\n";
    EXPECT_EQ(readFile(folder / "ERRH.ini"), saved);
    // Changed by another program after the edit read it: the edit's writes are
    // made on what the file holds now, which stays.
    store.beginEdit();
    saveSettings(store, {"/p/B.vbp", HandlingMode::ResumeNext});
    folder.write("ERRH.ini", "[Site]\r\nProxy=none\r\n");
    EXPECT_EQ(store.commitEdit(), std::nullopt);
    EXPECT_EQ(readFile(folder / "ERRH.ini"),
              "[Site]\r\nProxy=none\r\n\r\n[OS]\r\nProject_File=/p/B.vbp\r\nError_Flag=1\r\n");
    folder.write("ERRH.ini", saved);

    settings.procedures = kAllProcedureKinds;
    settings.skipHandled = false;
    saveHandlerSettings(store, settings);
    EXPECT_EQ(readFile(folder / "ERRH.ini"),
              "[OS]\r\nProject_File=/p/A.vbp\r\nError_Flag=1\r\n[Handler]\r\n"
              "Procedures=Sub,Function,Property\r\nFiles=FRM,BAS ; ours\r\nSkipHandled=0\r\n");

    // A folder that is a file: nothing is written, and the cause is told.
    folder.write("blocked", "");
    IniFileStore blocked(folder / "blocked" / "ERRH.ini");
    blocked.beginEdit();
    saveSettings(blocked, {"/p/A.vbp", HandlingMode::ResumeNext});
    EXPECT_NE(blocked.commitEdit(), std::nullopt);
    EXPECT_EQ(readFile(folder / "blocked"), "");
}

TEST(SettingsLocation, portableCopyKeepsItBeside_installedCopyWritesTheUsersOwn) {
    const auto beside = settingsLocation("/home/u/fw", true, false, "/home/u/.config/faultward");
    EXPECT_EQ(beside.file, "/home/u/fw/ERRH.ini");
    EXPECT_TRUE(beside.fallback.empty());
    const auto installed = settingsLocation("/usr/bin", false, true, "/home/u/.config/faultward");
    EXPECT_EQ(installed.file, "/home/u/.config/faultward/ERRH.ini");
    EXPECT_EQ(installed.fallback, "/usr/bin/ERRH.ini");
    // Root can write /usr/bin, but one person's choices must not become everyone's.
    EXPECT_EQ(settingsLocation("/usr/bin", true, true, "/root/.config/faultward").file,
              "/root/.config/faultward/ERRH.ini");
    // With nowhere else to go, the file beside the program is the one.
    EXPECT_EQ(settingsLocation("/usr/bin", false, true, std::nullopt).file, "/usr/bin/ERRH.ini");
}

TEST(Settings, userFileIsReadFromTheFileBesideUntilItExists_andStartsFromItsContents) {
    TempFolder folder;
    const std::string shipped = "[OS]\r\nError_Flag=2\r\n[Site]\r\nProxy=none\r\n";
    folder.write("app/ERRH.ini", shipped);
    IniFileStore store(folder / "user" / "faultward" / "ERRH.ini", folder / "app" / "ERRH.ini");
    EXPECT_EQ(loadSettings(store).errorFlag, HandlingMode::CentralHandler);
    saveSettings(store, {"/p/A.vbp", HandlingMode::ResumeNext});
    EXPECT_EQ(readFile(folder / "user" / "faultward" / "ERRH.ini"),
              "[OS]\r\nError_Flag=1\r\nProject_File=/p/A.vbp\r\n[Site]\r\nProxy=none\r\n");
    EXPECT_EQ(readFile(folder / "app" / "ERRH.ini"), shipped);
    folder.write("app/ERRH.ini", "[OS]\r\nError_Flag=0\r\n");
    EXPECT_EQ(loadSettings(store).errorFlag, HandlingMode::ResumeNext);
}

} // namespace
} // namespace faultward

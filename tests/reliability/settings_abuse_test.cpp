// Settings files that are missing, empty, binary, huge, a folder or a FIFO,
// with repeated keys, very long values and modes no menu offers: the program
// starts with sensible values, never hangs, and never damages what is there.
#include "app/settings/settings.h"
#include "child_process.h"
#include "project_tree.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace faultward::reliability {
namespace {

Settings load(const fs::path& iniFile) {
    IniFileStore store(iniFile);
    return loadSettings(store);
}

void save(const fs::path& iniFile, const Settings& settings) {
    IniFileStore store(iniFile);
    saveSettings(store, settings);
}

TEST(SettingsAbuse, unusableFilesGiveTheDefaultsAndSurviveASave) {
    TempFolder folder;
    std::mt19937 random(3);
    std::string binary(64 * 1024, '\0');
    for (char& byte : binary)
        byte = static_cast<char>(random());
    folder.write("Empty.ini", "");
    folder.write("Binary.ini", binary);
    folder.write("OneLine.ini", std::string(20 * 1024 * 1024, '['));
    fs::create_directory(folder / "Folder.ini");
    ASSERT_EQ(::mkfifo((folder / "Fifo.ini").c_str(), 0644), 0);

    for (const char* name :
         {"Missing.ini", "Empty.ini", "Binary.ini", "OneLine.ini", "Folder.ini", "Fifo.ini"}) {
        const Settings settings = load(folder / name);
        EXPECT_EQ(settings.projectFile, "") << name;
        EXPECT_EQ(settings.errorFlag, HandlingMode::ShowMessage) << name;
    }
    // Saving over what is not a file fails quietly and leaves it as it is.
    const TreeSnapshot before = snapshotTree(folder.path());
    save(folder / "Folder.ini", {"C:\\P.vbp", HandlingMode::ResumeNext});
    save(folder / "Fifo.ini", {"C:\\P.vbp", HandlingMode::ResumeNext});
    EXPECT_EQ(differences(before, snapshotTree(folder.path()), true), std::vector<std::string>{});
}

TEST(SettingsAbuse, hugeFileIsReadAndKeptWhole) {
    TempFolder folder;
    std::string junk;
    for (int i = 0; junk.size() < 30 * 1024 * 1024; ++i)
        junk += "Key" + std::to_string(i) + "=" + std::string(100, 'v') + "\r\n";
    const fs::path ini =
        folder.write("ERRH.ini", junk + "[OS]\r\nProject_File=C:\\A.vbp\r\nError_Flag=2\r\n");
    const Settings loaded = load(ini);
    EXPECT_EQ(loaded.projectFile, "C:\\A.vbp");
    EXPECT_EQ(loaded.errorFlag, HandlingMode::CentralHandler);

    save(ini, {"C:\\B.vbp", HandlingMode::ResumeNext});
    EXPECT_EQ(readFile(ini), junk + "[OS]\r\nProject_File=C:\\B.vbp\r\nError_Flag=1\r\n");
}

TEST(SettingsAbuse, repeatedKeysAndLongValues) {
    TempFolder folder;
    const std::string longPath = "C:\\" + std::string(10000, 'p') + ".vbp";
    const fs::path ini = folder.write(
        "ERRH.ini", "[OS]\r\nProject_File=" + longPath + "\r\nError_Flag=2" +
                        std::string(10000, ' ') + "9\r\nError_Flag=1\r\n[os]\r\nError_Flag=0\r\n");
    // The digit beyond the 511 characters read does not count.
    Settings loaded = load(ini);
    EXPECT_EQ(loaded.projectFile, longPath.substr(0, 511));
    EXPECT_EQ(loaded.errorFlag, HandlingMode::CentralHandler);

    save(ini, {longPath, HandlingMode::ResumeNext});
    loaded = load(ini);
    EXPECT_EQ(loaded.projectFile, longPath.substr(0, 511));
    EXPECT_EQ(loaded.errorFlag, HandlingMode::ResumeNext);
    EXPECT_NE(readFile(ini).find("Project_File=" + longPath + "\r\n"), std::string::npos);

    folder.write("ERRH.ini", "[OS]\r\nError_Flag=1" + std::string(10000, '0') + "\r\n");
    EXPECT_EQ(load(ini).errorFlag, HandlingMode::ShowMessage);
}

// The stored mode decides the handler block the command line writes; values
// no menu offers must still give one of the three blocks.
TEST(SettingsAbuse, oddStoredModesPickABlockThroughTheCommandLine) {
    TempFolder folder;
    const fs::path program = folder / "faultward-cli";
    fs::copy_file(cliPath(), program); // so that ERRH.ini beside it is the one read
    const fs::path project = folder.write("App.vbp", "Module=M; M.bas\r\n");
    const std::string message = "  MsgBox ERR.number";
    const std::string central = "  I_Process_Errors";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"99999", message}, {"-5", ""},       {"2.5", central}, {"abc", message},
        {"1e400", message}, {"&H2", central}, {"1.5", central}, {"", message},
    };
    for (const auto& [stored, expected] : cases) {
        folder.write("ERRH.ini", "[OS]\r\nError_Flag=" + stored + "\r\n");
        folder.write("M.bas", "Sub A()\r\nEnd Sub\r\n");
        ChildOptions options;
        options.program = program;
        options.args = {"insert", project.string()};
        const ChildResult result = runChild(options);
        ASSERT_EQ(result.exitStatus, 0) << stored << result.err;
        const std::string bytes = readFile(folder / "M.bas");
        EXPECT_NE(bytes.find("  RESUME NEXT  '~Faultward~"), std::string::npos) << stored;
        EXPECT_EQ(bytes.find(message) != std::string::npos, expected == message) << stored;
        EXPECT_EQ(bytes.find(central) != std::string::npos, expected == central) << stored;
    }

    // A FIFO in its place is not waited on: the default mode applies.
    fs::remove(folder / "ERRH.ini");
    ASSERT_EQ(::mkfifo((folder / "ERRH.ini").c_str(), 0644), 0);
    folder.write("M.bas", "Sub A()\r\nEnd Sub\r\n");
    ChildOptions options;
    options.program = program;
    options.args = {"insert", project.string()};
    const ChildResult result = runChild(options);
    EXPECT_FALSE(result.hung);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_NE(readFile(folder / "M.bas").find(message), std::string::npos);
}

} // namespace
} // namespace faultward::reliability

namespace faultward::reliability {
namespace {

// faultward-cli installed where its user cannot write, as a package puts it:
// the mode comes from the user's own settings file, or from the one beside the
// program while the user has none.
TEST(InstalledCopy, cliTakesTheModeFromTheUsersSettingsOrFromBesideItself) {
    TempFolder folder;
    const fs::path program = folder / "bin" / "faultward-cli";
    fs::create_directories(program.parent_path());
    fs::copy_file(cliPath(), program);
    folder.write("bin/ERRH.ini", "[OS]\r\nError_Flag=0\r\n");
    folder.write("work/App.vbp", "Module=M; M.bas\r\n");
    folder.write("work/M.bas", "Sub A()\r\nEnd Sub\r\n");
    fs::create_directories(folder / "config");
    giveTreeToChildUser(folder.path());
    fs::permissions(folder / "bin", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);

    ChildOptions options;
    options.program = program;
    options.args = {"insert", (folder / "work" / "App.vbp").string()};
    options.unprivileged = true;
    options.environment = {"XDG_CONFIG_HOME=" + (folder / "config").string()};
    ASSERT_EQ(runChild(options).exitStatus, 0);
    EXPECT_NE(readFile(folder / "work" / "M.bas").find("MsgBox"), std::string::npos);

    folder.write("config/faultward/ERRH.ini", "[OS]\r\nError_Flag=2\r\n");
    giveTreeToChildUser(folder / "config");
    ASSERT_EQ(runChild(options).exitStatus, 0);
    EXPECT_NE(readFile(folder / "work" / "M.bas").find("I_Process_Errors"), std::string::npos);
    EXPECT_EQ(readFile(folder / "bin" / "ERRH.ini"), "[OS]\r\nError_Flag=0\r\n");
}

} // namespace
} // namespace faultward::reliability

// Where the settings file lies, in this system's path syntax.
#include "app/settings/project_settings.h"
#include "app/settings/settings.h"
#include "app/texts/texts.h"
#include "platform/user_folders.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace faultward {
namespace {

TEST(Settings, pathIsJoinedAsText) {
    EXPECT_EQ(settingsFilePath("/").native(), "//ERRH.ini");
    EXPECT_EQ(settingsFilePath("/opt/fw").native(), "/opt/fw/ERRH.ini");
}

TEST(Settings, systemProgramFoldersAreSharedWhateverTheirSpelling) {
    for (const char* shared : {"/usr/bin", "/usr/local/bin", "/usr/bin/", "/opt/faultward/bin",
                               "/usr/local/../bin", "/bin"})
        EXPECT_TRUE(isSharedProgramFolder(shared)) << shared;
    TempFolder home;
    for (const std::filesystem::path& own : {home.path(), std::filesystem::path("/usrx/bin"),
                                             std::filesystem::path("/home/u/usr/bin")})
        EXPECT_FALSE(isSharedProgramFolder(own)) << own;
}

// Neither settings file is written through a symbolic link: a project from
// someone else could point its NAME.faultward at a file of the user's. A
// link to nothing is named, not taken for a file not yet made.
TEST(SettingsFiles, noneIsWrittenThroughALink_aLinkToNothingIsNamed) {
    TempFolder folder;
    const auto bashrc = folder.write("home/.bashrc", "export A=1\n");
    std::filesystem::create_symlink(bashrc, folder / "App.faultward");
    ProjectSettingsFile project(folder / "App.faultward");
    ASSERT_EQ(project.load(), std::nullopt);
    project.setLeft("M.bas", true);
    EXPECT_EQ(project.save(), std::string(kLinkNotWrittenCause));

    std::filesystem::create_symlink(bashrc, folder / "ERRH.ini");
    IniFileStore store(folder / "ERRH.ini");
    store.beginEdit();
    store.writeString("OS", "Error_Flag", "1");
    EXPECT_EQ(store.commitEdit(), std::string(kLinkNotWrittenCause));
    EXPECT_EQ(readFile(bashrc), "export A=1\n");

    std::filesystem::create_symlink(folder / "gone", folder / "Gone.faultward");
    ProjectSettingsFile dangling(folder / "Gone.faultward");
    EXPECT_EQ(dangling.load(), std::string(kDanglingLinkCause));
    dangling.setLeft("M.bas", true);
    EXPECT_NE(dangling.save(), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(folder / "gone"));
}

} // namespace
} // namespace faultward

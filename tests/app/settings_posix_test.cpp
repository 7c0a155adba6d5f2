// Where the settings file lies, in this system's path syntax.
#include "app/settings.h"
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

} // namespace
} // namespace faultward

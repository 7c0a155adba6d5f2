// A project's own settings file, changed line by line.
#include "app/project_settings.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace faultward

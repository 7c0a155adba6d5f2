// The one way a settings file is read and changed: under the folder's lock,
// never through a link, and never into a file that is not settings text.
#include "app/settings/profile_store.h"
#include "app/settings/settings_file.h"
#include "app/texts/texts.h"
#include "platform/settings_file_lock.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace faultward {
namespace {

using namespace std::chrono_literals;

// Two holders of one folder's lock take turns, threads as processes do; a
// save that cannot have it in time writes nothing and says why.
TEST(SettingsFileLock, oneHolderAtATime_aSaveThatCannotHaveItWritesNothing) {
    TempFolder folder;
    const auto ini = folder.write("ERRH.ini", "[OS]\r\nError_Flag=0\r\n");
    std::optional<SettingsFileLock> held = lockSettingsFolder(ini, 1s);
    ASSERT_TRUE(held);

    std::optional<std::string> cause;
    std::thread other([&] {
        EXPECT_FALSE(lockSettingsFolder(folder / "Other.faultward", 50ms));
        SettingsWaits waits;
        waits.lock = 50ms;
        cause = changeSettingsFile(
            ini, [](const std::string&) { return std::string("[OS]\r\n"); }, std::nullopt, {},
            nullptr, waits);
    });
    other.join();
    EXPECT_EQ(cause, settingsLockedCause(50ms));
    EXPECT_EQ(readFile(ini), "[OS]\r\nError_Flag=0\r\n");

    held.reset();
    std::thread after([&] { EXPECT_TRUE(lockSettingsFolder(ini, 1s)); });
    after.join();
}

// ERRH.ini that a person saved with a byte-order mark keeps it; one in UTF-16
// reads as empty, is named, and a save leaves it as it is.
TEST(IniFileStore, aByteOrderMarkIsKept_utf16IsNamedAndNeverWritten) {
    TempFolder folder;
    const auto ini = folder.write("ERRH.ini", "\xEF\xBB\xBF[OS]\r\nError_Flag=2\r\n");
    IniFileStore store(ini);
    EXPECT_EQ(store.readString("OS", "Error_Flag", "", 8), "2");
    EXPECT_TRUE(store.writeString("OS", "Project_File", "A.vbp"));
    EXPECT_EQ(readFile(ini), "\xEF\xBB\xBF[OS]\r\nError_Flag=2\r\nProject_File=A.vbp\r\n");

    const std::string wide("\xFF\xFE[\0O\0S\0]\0", 10);
    folder.write("ERRH.ini", wide);
    EXPECT_EQ(store.readString("OS", "Error_Flag", "none", 8), "none");
    EXPECT_EQ(store.keyWarnings("Handler", {}),
              std::vector<std::string>{"not read: " + std::string(kUtf16SettingsCause)});
    store.beginEdit();
    store.writeString("OS", "Error_Flag", "1");
    EXPECT_EQ(store.commitEdit(), std::string(kUtf16SettingsCause));
    EXPECT_EQ(readFile(ini), wide);
}

} // namespace
} // namespace faultward

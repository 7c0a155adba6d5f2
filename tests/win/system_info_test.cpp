#include "win_test_support.h"

#include "app/desktop/get_key_value.h"
#include "platform/win32_registry.h"
#include "support/temp_folder.h"
#include "win/win32_sys_info_platform.h"

#include <gtest/gtest.h>

#include <string>

namespace faultward::wintest {
namespace {

using faultward::testing::TempFolder;

constexpr about::RegistryKey kCurrentUser = 0x80000001;
constexpr char kTestKey[] = "Software\\FaultwardTests\\SysInfo";

// A key of the test's own under the current user, removed afterwards.
class RealRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\FaultwardTests");
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\FaultwardTests");
    }
    void setString(const char* name, const std::string& text) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }

    HKEY key = nullptr;
};

TEST_F(RealRegistry, readsStringsAndNumbers_andClosesEveryKeyItOpened) {
    setString("Path", "C:\\Tools\\msinfo32.exe");
    const DWORD number = 1234;
    RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    about::Win32Registry registry;
    std::string value;
    EXPECT_TRUE(about::GetKeyValue(registry, kCurrentUser, kTestKey, "Path", value));
    EXPECT_EQ(value, "C:\\Tools\\msinfo32.exe");
    EXPECT_TRUE(about::GetKeyValue(registry, kCurrentUser, kTestKey, "Count", value));
    EXPECT_EQ(value, "1234");
    EXPECT_FALSE(about::GetKeyValue(registry, kCurrentUser, kTestKey, "Missing", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(about::GetKeyValue(registry, kCurrentUser, "Software\\FaultwardTests\\None",
                                    "Path", value));
    EXPECT_EQ(registry.openCount(), 0u);
}

TEST_F(RealRegistry, valueLongerThanTheBuffer_isNotRead) {
    setString("Long", std::string(1100, 'x'));
    about::Win32Registry registry;
    std::string value = "before";
    EXPECT_FALSE(about::GetKeyValue(registry, kCurrentUser, kTestKey, "Long", value));
    EXPECT_EQ(value, "");
    EXPECT_EQ(registry.openCount(), 0u);
}

TEST(SysInfoPlatform, findsOnlyOrdinaryFiles_andSaysWhenTheToolIsUnavailable) {
    TempFolder folder;
    const std::string plain = folder.write("msinfo32.exe", "MZ").string();
    const std::string hidden = folder.write("hidden.exe", "MZ").string();
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    RecordingMessages messages;
    win::Win32SysInfoPlatform platform(messages);

    EXPECT_EQ(platform.findOrdinaryFile(plain), plain);
    EXPECT_EQ(platform.findOrdinaryFile(hidden), std::nullopt);
    EXPECT_EQ(platform.findOrdinaryFile(folder.path().string()), std::nullopt);
    EXPECT_EQ(platform.findOrdinaryFile((folder / "none.exe").string()), std::nullopt);
    EXPECT_FALSE(platform.startProgram((folder / "none.exe").string()));
    EXPECT_FALSE(platform.startProgram(""));

    platform.showUnavailable();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "System Information Is Unavailable At This Time");
}

} // namespace
} // namespace faultward::wintest

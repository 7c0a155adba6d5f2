#include "app/desktop/get_key_value.h"
#include "platform/linux_registry.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace faultward::about {
namespace {

constexpr char kPathKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

std::filesystem::path program(const faultward::testing::TempFolder& folder, const std::string& name,
                              bool executable = true) {
    const auto file = folder.write(name, "#!/bin/sh\n");
    std::filesystem::permissions(file, executable ? std::filesystem::perms::owner_all
                                                  : std::filesystem::perms::owner_read);
    return file;
}

TEST(LinuxRegistry, pathValue_isTheFirstListedProgramOnTheSearchPath) {
    faultward::testing::TempFolder first;
    faultward::testing::TempFolder second;
    program(first, "kinfocenter");
    program(first, "hardinfo", false); // not executable: passed over
    const auto hardinfo = program(second, "hardinfo");
    LinuxRegistry registry(first.path().string() + ":" + second.path().string());

    std::string value;
    ASSERT_TRUE(GetKeyValue(registry, kHkeyLocalMachine, kPathKey, "PATH", value));
    EXPECT_EQ(value, hardinfo.string());
}

TEST(LinuxRegistry, pathValue_isStoredAsAStringWithItsTerminatingZero) {
    faultward::testing::TempFolder folder;
    const auto kinfocenter = program(folder, "kinfocenter");
    LinuxRegistry registry(folder.path().string());

    RegistryKey key = 0;
    ASSERT_EQ(registry.openKey(kHkeyLocalMachine, "software\\microsoft\\shared tools\\msinfo", 0,
                               kKeyOpenAccess, key),
              kErrorSuccess);
    unsigned char data[1024];
    std::uint32_t size = sizeof data;
    std::uint32_t type = 0;
    ASSERT_EQ(registry.queryValue(key, "Path", type, data, size), kErrorSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), kinfocenter.string() + '\0');

    std::uint32_t tooSmall = 4;
    EXPECT_EQ(registry.queryValue(key, "PATH", type, data, tooSmall), kErrorMoreData);
    registry.closeKey(key);
}

TEST(LinuxRegistry, everythingElse_isAbsent) {
    faultward::testing::TempFolder folder;
    LinuxRegistry noPrograms(folder.path().string());
    std::string value = "x";
    EXPECT_FALSE(GetKeyValue(noPrograms, kHkeyLocalMachine, kPathKey, "PATH", value));

    program(folder, "hardinfo2");
    LinuxRegistry registry(folder.path().string());
    EXPECT_FALSE(GetKeyValue(registry, kHkeyLocalMachine,
                             "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", value));
    EXPECT_FALSE(GetKeyValue(registry, kHkeyLocalMachine, kPathKey, "Other", value));
    EXPECT_FALSE(GetKeyValue(registry, 0x80000001, kPathKey, "PATH", value));
    EXPECT_TRUE(GetKeyValue(registry, kHkeyLocalMachine, kPathKey, "PATH", value));
}

} // namespace
} // namespace faultward::about

#include "app/desktop/get_key_value.h"
#include "support/fake_registry.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace faultward::about {
namespace {

using testing::FakeRegistry;
using testing::storedString;

constexpr char kKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

class GetKeyValueTest : public ::testing::Test {
protected:
    bool read(std::uint32_t type, const std::string& bytes) {
        registry.set(kKey, "PATH", type, bytes);
        return GetKeyValue(registry, kHkeyLocalMachine, kKey, "PATH", value);
    }

    FakeRegistry registry;
    std::string value = "as passed";
};

TEST_F(GetKeyValueTest, stringData_losesExactlyOneTrailingZeroByte) {
    EXPECT_TRUE(read(kRegSz, std::string("C:\\X.EXE\0", 9)));
    EXPECT_EQ(value, "C:\\X.EXE");
    EXPECT_TRUE(read(kRegSz, "C:\\X.EXE"));
    EXPECT_EQ(value, "C:\\X.EXE");
    EXPECT_TRUE(read(kRegSz, std::string("AB\0\0", 4)));
    EXPECT_EQ(value, std::string("AB\0", 3));
    // A single zero byte is an empty string.
    EXPECT_TRUE(read(kRegSz, std::string(1, '\0')));
    EXPECT_EQ(value, "");
}

TEST_F(GetKeyValueTest, dataOver1024Bytes_countsAsAbsentAndEmptiesTheText) {
    EXPECT_TRUE(read(kRegSz, std::string(1024, 'x')));
    EXPECT_EQ(value.size(), 1024u);
    EXPECT_FALSE(read(kRegSz, std::string(1025, 'x')));
    EXPECT_EQ(value, "");
    EXPECT_TRUE(registry.openHandles.empty());
}

TEST_F(GetKeyValueTest, dwordData_isReadLeastSignificantByteFirst) {
    EXPECT_TRUE(read(kRegDword, std::string("\x05\x01\x00\x00", 4)));
    EXPECT_EQ(value, "261");
    EXPECT_TRUE(read(kRegDword, std::string("\x0A\x00\x00\x01", 4)));
    EXPECT_EQ(value, "16777226");
    EXPECT_TRUE(read(kRegDword, "\xFF\xFF\xFF\xFF"));
    EXPECT_EQ(value, "4294967295");
    EXPECT_THROW(read(kRegDword, "\x01\x02\x03\x04\x05"), std::runtime_error);
}

TEST_F(GetKeyValueTest, otherTypes_succeedAndLeaveTheTextAsPassed) {
    EXPECT_TRUE(read(kRegExpandSz, storedString("%SystemRoot%\\MSINFO32.EXE")));
    EXPECT_EQ(value, "as passed");
}

TEST_F(GetKeyValueTest, zeroLengthData_failsAtRunTimeAndStillClosesTheKey) {
    EXPECT_THROW(read(kRegSz, ""), std::runtime_error);
    EXPECT_TRUE(registry.openHandles.empty());
}

TEST_F(GetKeyValueTest, missingKeyOrValue_givesFalseAndEmptyText) {
    EXPECT_FALSE(GetKeyValue(registry, kHkeyLocalMachine, kKey, "PATH", value));
    EXPECT_EQ(value, "");

    registry.set(kKey, "OTHER", kRegSz, storedString("x"));
    value = "as passed";
    EXPECT_FALSE(GetKeyValue(registry, kHkeyLocalMachine, kKey, "PATH", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(GetKeyValue(registry, 0x80000001, kKey, "OTHER", value));
    EXPECT_TRUE(registry.openHandles.empty());
}

TEST_F(GetKeyValueTest, opensWithReadControlAndTheSixKeyRights) {
    read(kRegSz, storedString("x"));
    ASSERT_EQ(registry.accessMasks.size(), 1u);
    EXPECT_EQ(registry.accessMasks[0], 0x2003Fu);
}

} // namespace
} // namespace faultward::about

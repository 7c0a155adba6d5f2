// Where the settings file lies, in this system's path syntax.
#include "app/settings.h"

#include <gtest/gtest.h>

namespace faultward {
namespace {

TEST(Settings, pathIsJoinedAsText) {
    EXPECT_EQ(settingsFilePath("/").native(), "//ERRH.ini");
    EXPECT_EQ(settingsFilePath("/opt/fw").native(), "/opt/fw/ERRH.ini");
}

} // namespace
} // namespace faultward

// faultward.exe run from a command line for its help or version prints the
// text to whoever started it and opens no window.
#include "app/desktop/desktop_arguments.h"
#include "support/process.h"

#include <gtest/gtest.h>

namespace faultward::win {
namespace {

TEST(StandAloneText, helpAndVersionAreWrittenToTheRedirectedOutput) {
    for (const char* option : {"--help", "--version"}) {
        const auto run = testing::runProcess(FW_DESKTOP_PROGRAM, {option});
        EXPECT_EQ(run.exitCode, 0) << option;
        EXPECT_EQ(run.out, *desktopStandAloneText({option})) << option;
        EXPECT_EQ(run.err, "") << option;
    }
}

} // namespace
} // namespace faultward::win

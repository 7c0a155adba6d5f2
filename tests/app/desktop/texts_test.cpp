#include "app/desktop/desktop_arguments.h"
#include "app/texts/texts.h"

#include <gtest/gtest.h>

namespace faultward {
namespace {

// Only "faultward --help" or "faultward --version" alone print; any other
// command line opens the window as it always did.
TEST(Texts, desktopPrintsOnlyForHelpOrVersionAlone) {
    EXPECT_TRUE(desktopStandAloneText({"--help"})->starts_with("Usage: faultward [--help"));
    EXPECT_TRUE(desktopStandAloneText({"--version"})->starts_with("faultward "));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"App.vbp"}, {"--help", "App.vbp"}, {"--Help"}})
        EXPECT_EQ(desktopStandAloneText(args), std::nullopt) << args.size();
}

// The passes and the project reader hand over what happened; the words are
// the core's.
TEST(Texts, lineLimitAndProjectFailuresNameTheFile) {
    EXPECT_EQ(lineLimitMessage("Big.bas"),
              "The file Big.bas has exceeded 32000 lines of code!  Error handling cannot be "
              "inserted for the rest of this file.  Please reduce the number lines in this file "
              "and try again.");
    EXPECT_EQ(describeProjectFailure(ProjectReadStatus::NotText, "/p/x.exe"),
              "The file /p/x.exe holds binary data; it is not a project file.");
}

} // namespace
} // namespace faultward

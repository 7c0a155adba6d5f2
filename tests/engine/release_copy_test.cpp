#include "project/release_copy.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

TEST(ReleaseCopy, copiesEveryNamedFileAndCompanionInTheSameLayout) {
    TempFolder folder;
    const std::string project = crlf({"Form=Main.frm", "Module=Lib; ..\\shared\\Lib.bas",
                                      "ResFile32=\"App.res\"", "Module=Gone; Gone.bas"});
    const fs::path vbp = folder.write("src/app/App.vbp", project);
    folder.write("src/app/Main.frm", "form");
    folder.write("src/app/main.FRX", std::string("\0\1", 2));
    folder.write("src/app/App.res", "res");
    folder.write("src/shared/Lib.bas", "lib");
    std::string error;
    const auto plan = planReleaseCopy(vbp, {{vbp, project, ""}}, error);
    ASSERT_TRUE(plan) << error;
    EXPECT_EQ(plan->root, folder / "src");
    EXPECT_EQ(plan->missing, std::vector<std::string>{"Gone.bas"});
    EXPECT_TRUE(copyFiles(*plan, folder / "out").empty());
    EXPECT_EQ(readFile(folder / "out/app/App.vbp"), project);
    EXPECT_EQ(readFile(folder / "out/app/main.FRX"), std::string("\0\1", 2));
    EXPECT_EQ(readFile(folder / "out/shared/Lib.bas"), "lib");
    EXPECT_EQ(placeInCopy(*plan, folder / "out", vbp), folder / "out/app/App.vbp");
}

// A name that climbs above the files it reaches would, in a copy laid out
// by those files alone, climb out of the copy and reach the sources.
TEST(ReleaseCopy, layoutHoldsEveryFolderANamePassesThrough) {
    TempFolder folder;
    const std::string project = crlf({"Module=M; ..\\..\\top\\app\\M.bas"});
    const fs::path vbp = folder.write("top/app/App.vbp", project);
    folder.write("top/app/M.bas", "m");
    std::string error;
    const auto plan = planReleaseCopy(vbp, {{vbp, project, ""}}, error);
    ASSERT_TRUE(plan) << error;
    EXPECT_EQ(plan->root, folder.path());
    EXPECT_EQ(plan->files.size(), 2u); // the module is named in a roundabout way, once
}

TEST(ReleaseCopy, refusesFullPathsAndOutputFoldersThatCannotTakeTheCopy) {
    TempFolder folder;
    const std::string project = crlf({"Module=M; /etc/M.bas"});
    const fs::path vbp = folder.write("app/App.vbp", project);
    std::string error;
    EXPECT_FALSE(planReleaseCopy(vbp, {{vbp, project, ""}}, error));
    EXPECT_NE(error.find("/etc/M.bas by a full path"), std::string::npos) << error;

    folder.write("file", "x");
    const std::vector<fs::path> sources = {folder / "app"};
    EXPECT_TRUE(outputFolderProblem(folder / "app/sub/../release", sources));
    EXPECT_TRUE(outputFolderProblem(folder / "file", sources));
    EXPECT_FALSE(outputFolderProblem(folder / "new/release", sources));
}

} // namespace
} // namespace faultward

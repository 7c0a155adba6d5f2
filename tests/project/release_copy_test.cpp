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
    const auto plan = planReleaseCopy(vbp, {{vbp, project, ""}}, {}, error);
    ASSERT_TRUE(plan) << error;
    EXPECT_EQ(plan->root, folder / "src");
    EXPECT_EQ(plan->missing, std::vector<std::string>{"Gone.bas"});
    EXPECT_TRUE(copyFiles(*plan, folder / "out").empty());
    EXPECT_EQ(readFile(folder / "out/app/App.vbp"), project);
    EXPECT_EQ(readFile(folder / "out/app/main.FRX"), std::string("\0\1", 2));
    EXPECT_EQ(readFile(folder / "out/shared/Lib.bas"), "lib");
    EXPECT_EQ(placeInCopy(*plan, folder / "out", vbp), folder / "out/app/App.vbp");
}

// A form keeps its pictures in whatever companions its designer block names,
// which need not share the form's name or folder.
TEST(ReleaseCopy, copiesTheCompanionsADesignerBlockNames) {
    TempFolder folder;
    const std::string project = crlf({"Form=Forms\\SDILoginNew.frm", "UserControl=Grid.ctl"});
    const fs::path vbp = folder.write("src/app/App.vbp", project);
    folder.write(
        "src/app/Forms/SDILoginNew.frm",
        crlf({"VERSION 5.00", "Begin VB.Form frmLogin",
              "   Caption = \"say \"\"Quoted.frx\"\":0000\"", "   Icon = \"SDILogin.frx\":0000",
              "   Begin VB.Image imgLogo", "      Picture = \"..\\..\\pics\\LOGO.FRX\":0442",
              "      Tag = \"Tag.frx\":00zz", "   End", "   ItemData = \"Gone.frx\":0000",
              "   List = \"SDILogin.frx\":0004", "End", "Attribute VB_Name = \"frmLogin\"",
              "' Icon = \"Later.frx\":0000"}));
    folder.write("src/app/Forms/SDILogin.frx", "icon");
    folder.write("src/pics/Logo.frx", "logo");
    for (const char* unnamed : {"Quoted.frx", "Tag.frx", "Later.frx"})
        folder.write(std::string("src/app/Forms/") + unnamed, "not named");
    folder.write("src/app/Grid.ctl",
                 crlf({"Begin VB.UserControl Grid", "   Picture = \"Grid.ctx\":0000", "End",
                       "Attribute VB_Name = \"Grid\""}));
    std::string error;
    const auto plan = planReleaseCopy(vbp, {{vbp, project, ""}}, {}, error);
    ASSERT_TRUE(plan) << error;
    EXPECT_EQ(plan->root, folder / "src");
    EXPECT_EQ(plan->files.size(), 5u); // the project, the form, two companions and the control
    ASSERT_EQ(plan->missingCompanions.size(), 2u);
    EXPECT_EQ(plan->missingCompanions[0].file, "Forms\\SDILoginNew.frm");
    EXPECT_EQ(plan->missingCompanions[0].companion, "Gone.frx");
    EXPECT_EQ(plan->missingCompanions[1].companion, "Grid.ctx");
    EXPECT_TRUE(copyFiles(*plan, folder / "out").empty());
    EXPECT_EQ(readFile(folder / "out/app/Forms/SDILogin.frx"), "icon");
    EXPECT_EQ(readFile(folder / "out/pics/Logo.frx"), "logo");
    EXPECT_FALSE(fs::exists(folder / "out/app/Forms/Quoted.frx"));
}

// A name that climbs above the files it reaches would, in a copy laid out
// by those files alone, climb out of the copy and reach the sources.
TEST(ReleaseCopy, layoutHoldsEveryFolderANamePassesThrough) {
    TempFolder folder;
    const std::string project = crlf({"Module=M; ..\\..\\top\\app\\M.bas"});
    const fs::path vbp = folder.write("top/app/App.vbp", project);
    folder.write("top/app/M.bas", "m");
    std::string error;
    const auto plan = planReleaseCopy(vbp, {{vbp, project, ""}}, {}, error);
    ASSERT_TRUE(plan) << error;
    EXPECT_EQ(plan->root, folder.path());
    EXPECT_EQ(plan->files.size(), 2u); // the module is named in a roundabout way, once
}

TEST(ReleaseCopy, refusesFullPathsAndOutputFoldersThatCannotTakeTheCopy) {
    TempFolder folder;
    const std::string project = crlf({"Module=M; /etc/M.bas"});
    const fs::path vbp = folder.write("app/App.vbp", project);
    std::string error;
    EXPECT_FALSE(planReleaseCopy(vbp, {{vbp, project, ""}}, {}, error));
    EXPECT_NE(error.find("/etc/M.bas by a full path"), std::string::npos) << error;

    folder.write("file", "x");
    const std::vector<fs::path> sources = {folder / "app"};
    EXPECT_TRUE(outputFolderProblem(folder / "app/sub/../release", sources));
    EXPECT_TRUE(outputFolderProblem(folder / "file", sources));
    EXPECT_FALSE(outputFolderProblem(folder / "new/release", sources));
}

} // namespace
} // namespace faultward

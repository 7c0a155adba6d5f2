// What a release copy takes from a project a stranger prepared: links,
// permission bits and paths out of the project's folder.
#include "project/project_folder.h"
#include "project/release_copy.h"
#include "support/planted_project.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fs = std::filesystem;

namespace faultward {
namespace {

using testing::PlantedProject;

TEST(ProjectFolder, placesFilesByWhereTheyReallyAre) {
    TempFolder root;
    const PlantedProject planted(root);
    // The project reached through a link to its folder is still the one folder.
    fs::create_symlink(root / "repo", root / "alias");
    const ProjectFolder folder(root / "alias/app/P.vbp");
    EXPECT_EQ(folder.place(root / "repo/app/M.bas")->place, ProjectFolder::Place::Inside);
    EXPECT_EQ(folder.place(root / "alias/app/M.bas")->place, ProjectFolder::Place::Inside);
    EXPECT_EQ(folder.place(root / "repo/app/../../victim/Other.bas")->place,
              ProjectFolder::Place::Outside);
    const auto link = folder.place(root / "alias/app/L.bas");
    EXPECT_EQ(link->place, ProjectFolder::Place::LinkOut);
    EXPECT_EQ(link->real, root / "linked/Linked.bas");
    fs::create_symlink(root / "nowhere", root / "repo/app/Dangling.bas");
    EXPECT_FALSE(folder.place(root / "repo/app/Dangling.bas"));
}

TEST(ReleaseCopy, namesWhatLiesOutsideTheProjectsFolderAndCarriesItsSettings) {
    TempFolder root;
    const PlantedProject planted(root, false);
    const std::string text = readFile(planted.vbp);
    std::string error;
    const auto plan = planReleaseCopy(planted.vbp, {{planted.vbp, text, ""}},
                                      {root / "repo/app/P.faultward"}, error);
    ASSERT_TRUE(plan) << error;
    std::vector<std::string> outside;
    for (const OutsideCopyFile& file : plan->outside)
        outside.push_back(file.name + (file.namedBy.empty() ? "" : " in " + file.namedBy) +
                          (file.link ? " links to " : " at ") +
                          file.real.lexically_relative(root.path()).string());
    std::sort(outside.begin(), outside.end());
    EXPECT_EQ(outside, (std::vector<std::string>{
                           "..\\..\\home\\.aws\\credentials in P.vbp at home/.aws/credentials",
                           "..\\..\\home\\secret in frmMain.frm at home/secret",
                           "..\\..\\victim\\Other.bas in P.vbp at victim/Other.bas",
                           "L.bas in P.vbp links to linked/Linked.bas",
                           "frmMain.frx in P.vbp links to home/.ssh/id_rsa",
                       }));
    ASSERT_EQ(plan->fullPathCompanions.size(), 1u);
    EXPECT_EQ(plan->fullPathCompanions[0].companion, "C:\\x\\a.ico");
    EXPECT_NE(std::find(plan->files.begin(), plan->files.end(), root / "repo/app/P.faultward"),
              plan->files.end());
}

TEST(ReleaseCopy, keepsEachFilesPermissionBits) {
    TempFolder root;
    const std::string project = crlf({"Module=P; Private.bas", "Module=R; ReadOnly.bas"});
    const fs::path vbp = root.write("app/App.vbp", project);
    fs::permissions(root.write("app/Private.bas", "p"),
                    fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(root.write("app/ReadOnly.bas", "r"),
                    fs::perms::owner_read | fs::perms::group_read);
    std::string error;
    const auto plan = planReleaseCopy(vbp, {{vbp, project, ""}}, {}, error);
    ASSERT_TRUE(plan) << error;
    ASSERT_TRUE(copyFiles(*plan, root / "out").empty());
    EXPECT_EQ(fs::status(root / "out/Private.bas").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(root / "out/ReadOnly.bas").permissions(),
              fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(readFile(root / "out/ReadOnly.bas"), "r");
}

} // namespace
} // namespace faultward

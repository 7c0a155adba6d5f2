// An output folder reached through a symbolic link, which only POSIX lets
// anyone make, and a source that cannot be read part-way through the copy.
#include "project/release_copy.h"
#include "rewrite/passes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

TEST(ReleaseCopy, outputFolderReachedThroughALinkIsStillInsideTheProject) {
    TempFolder folder;
    fs::create_directories(folder / "app");
    fs::create_symlink(folder / "app", folder / "link");
    EXPECT_TRUE(outputFolderProblem(folder / "link/release", {folder / "app"}));
}

// A copy that stops part-way would pass for the project: what it made goes
// again, and an output folder that was there before stays.
TEST(ReleaseCopy, aFailedCopyNamesTheFileAndRemovesWhatItMade) {
    TempFolder folder;
    const std::string project = crlf({"Module=A; A.bas", "Module=F; sub\\F.bas"});
    const fs::path vbp = folder.write("app/App.vbp", project);
    folder.write("app/A.bas", "a");
    fs::create_directories(folder / "app/sub");
    ASSERT_EQ(::mkfifo((folder / "app/sub/F.bas").c_str(), 0644), 0);
    std::string error;
    const auto plan = planReleaseCopy(vbp, {{vbp, project, ""}}, {}, error);
    ASSERT_TRUE(plan) << error;

    const std::string cannotRead = "cannot read " + (folder / "app/sub/F.bas").string() + ": " +
                                   std::string(describe(FileOutcome::NotRegularFile));
    EXPECT_EQ(copyFiles(*plan, folder / "out/release"),
              (std::vector<std::string>{cannotRead, "the partial copy in " +
                                                        (folder / "out/release").string() +
                                                        " was removed"}));
    EXPECT_FALSE(fs::exists(folder / "out"));

    fs::create_directories(folder / "empty");
    EXPECT_EQ(copyFiles(*plan, folder / "empty").front(), cannotRead);
    EXPECT_TRUE(fs::is_empty(folder / "empty"));
}

} // namespace
} // namespace faultward

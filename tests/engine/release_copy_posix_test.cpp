// An output folder reached through a symbolic link, which only POSIX lets
// anyone make.
#include "project/release_copy.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

TEST(ReleaseCopy, outputFolderReachedThroughALinkIsStillInsideTheProject) {
    TempFolder folder;
    fs::create_directories(folder / "app");
    fs::create_symlink(folder / "app", folder / "link");
    EXPECT_TRUE(outputFolderProblem(folder / "link/release", {folder / "app"}));
}

} // namespace
} // namespace faultward

#include "app/desktop/help_file.h"
#include "app/desktop/layout.h"
#include "app/desktop/paint_pace.h"
#include "app/desktop/window_placement.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace faultward::coretest {
namespace {

TEST(Twips, giveTheDesignedPixelSizesAt96DotsPerInch_andScaleWithTheDpi) {
    EXPECT_EQ(pixelsFromTwips(kMainOuterWidth, 96), 325);
    EXPECT_EQ(pixelsFromTwips(kMainOuterHeight, 96), 355);
    EXPECT_EQ(pixelsFromTwips(kAboutClientWidth, 96), 376);
    EXPECT_EQ(pixelsFromTwips(kAboutClientHeight, 96), 240);
    // One pixel lines stay one pixel; buttons that overlap by one pixel still do.
    EXPECT_EQ(pixelsFromTwips(15, 96), 1);
    EXPECT_EQ(pixelsFromTwips(1080 + 15, 96) - pixelsFromTwips(1080, 96), 1);
    // Halves round up at 150 % and 125 %; nothing is cut off by truncation.
    EXPECT_EQ(pixelsFromTwips(kMainOuterWidth, 144), 488);
    EXPECT_EQ(pixelsFromTwips(kMainOuterHeight, 144), 533);
    EXPECT_EQ(pixelsFromTwips(kMainOuterWidth, 120), 406);
    EXPECT_EQ(pixelsFromTwips(kMainOuterHeight, 120), 444);
    EXPECT_EQ(pixelsFromTwips(-15, 96), -1);
}

TEST(WindowPlacement, centresOverTheAnchorAndStaysOnTheScreen) {
    const ScreenRect screen{0, 0, 1280, 1024};
    EXPECT_EQ(centredOver(100, 50, {200, 200, 300, 300}, screen), (ScreenPoint{299, 324}));
    // Near the bottom right corner: pushed back up and left just enough.
    EXPECT_EQ(centredOver(720, 600, {1000, 800, 325, 355}, screen), (ScreenPoint{560, 424}));
    // Near the top left of a screen that starts below a panel.
    EXPECT_EQ(centredOver(720, 600, {0, 30, 100, 100}, {0, 30, 1280, 994}), (ScreenPoint{0, 30}));
    // Larger than the screen: the top left corner stays on it.
    EXPECT_EQ(centredOver(900, 700, {0, 0, 10, 10}, {0, 0, 800, 600}), (ScreenPoint{0, 0}));
    // A second monitor left of the first.
    EXPECT_EQ(centredOver(100, 100, {-1900, 0, 10, 10}, {-1920, 0, 1920, 1080}),
              (ScreenPoint{-1920, 0}));
}

TEST(PaintPace, paintsAtOnceThenAtMostOnceAnInterval) {
    using namespace std::chrono_literals;
    PaintPace pace;
    const PaintPace::Clock::time_point start{};
    EXPECT_TRUE(pace.dueAt(start)) << "the first change of a pass shows at once";
    pace.paintedAt(start);
    EXPECT_FALSE(pace.dueAt(start + 15ms));
    EXPECT_TRUE(pace.dueAt(start + 16ms));
    // A caption painted in between restarts the interval.
    pace.paintedAt(start + 10ms);
    EXPECT_FALSE(pace.dueAt(start + 16ms));
    EXPECT_TRUE(pace.dueAt(start + 26ms));
}

TEST(HelpFile, isTheFirstFolderThatHoldsIt_absoluteWhereverTheCurrentFolderMoves) {
    TempFolder scratch;
    const std::filesystem::path beside = scratch / "bin";
    const std::filesystem::path shared = scratch.write("share/faultwardhelp.html", "<html>");
    EXPECT_EQ(findHelpFile({beside, shared.parent_path()}), shared);
    const std::filesystem::path own = scratch.write("bin/faultwardhelp.html", "<html>");
    EXPECT_EQ(findHelpFile({beside, shared.parent_path()}), own);
    // Nowhere: the message names the first folder's file.
    EXPECT_EQ(findHelpFile({scratch / "none", scratch / "other"}),
              scratch / "none" / "faultwardhelp.html");

    // A program started from another folder names its own folder relatively.
    std::filesystem::path found;
    {
        KeptCurrentFolder kept;
        std::filesystem::current_path(scratch.path());
        found = findHelpFile({"share"});
    }
    EXPECT_EQ(found, shared);
    EXPECT_EQ(missingHelpText("C:\\Tools\\faultwardhelp.html"),
              "The help file C:\\Tools\\faultwardhelp.html could not be found.");
    EXPECT_NE(
        unopenedHelpText("C:\\Tools\\faultwardhelp.html").find("C:\\Tools\\faultwardhelp.html"),
        std::string::npos);
}

} // namespace
} // namespace faultward::coretest

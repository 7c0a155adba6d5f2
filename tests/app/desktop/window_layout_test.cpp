// The main window that grows: where its parts go, the state column of the
// list, and where it opens again, on the screens of today.
#include "app/desktop/layout.h"
#include "app/desktop/window_layout.h"
#include "app/desktop/window_placement.h"
#include "fake_desktop.h"

#include <gtest/gtest.h>

namespace faultward::coretest {
namespace {

TEST(GrownWindow, theListTakesTheRoom_theToolRowStays_theSelectButtonsKeepToTheBottom) {
    EXPECT_EQ(growthBeyond(517, 459, 317, 309), (Growth{200, 150}));
    // Never laid out below its first size.
    EXPECT_EQ(growthBeyond(300, 320, 317, 309), (Growth{0, 11}));

    const Growth growth{200, 150};
    const ScreenRect list{8, 80, 297, 184};
    EXPECT_EQ(grownPlace(list, kFileListAnchor, growth), (ScreenRect{8, 80, 497, 334}));
    const ScreenRect tool{72, 0, 81, 57};
    EXPECT_EQ(grownPlace(tool, kToolRowAnchor, growth), tool);
    const ScreenRect selectAll{64, 272, 73, 25};
    EXPECT_EQ(grownPlace(selectAll, kSelectButtonsAnchor, growth), (ScreenRect{64, 422, 73, 25}));
    // The path, the bar over it and the rule under the tool row widen only.
    for (const Anchor anchor : {kProjectLabelAnchor, kProgressBarAnchor, kRuleAnchor})
        EXPECT_EQ(grownPlace({8, 64, 297, 17}, anchor, growth), (ScreenRect{8, 64, 497, 17}));
    // At the first size everything is where it was designed.
    for (const Anchor anchor : {Anchor::TopLeft, Anchor::TopWide, Anchor::Fill, Anchor::BottomLeft})
        EXPECT_EQ(grownPlace(list, anchor, {}), list);
}

TEST(ProcedureRow, theStatesMakeAColumnWhenThereIsRoom_elseTheHeadGivesWayDownToItsLeast) {
    constexpr int kWidestHead = 170, kLeast = 60, kGap = 12;
    const auto start = [](int row, int state) {
        return stateStart(row, kWidestHead, state, kLeast, kGap);
    };
    EXPECT_EQ(start(700, 70), 182);
    EXPECT_EQ(start(700, 205), 182);
    // Narrow: each state ends at the row's end, as far right as it can.
    EXPECT_EQ(start(240, 70), 170);
    EXPECT_EQ(start(240, 150), 90);
    EXPECT_EQ(start(240, 205), 72) << "the head keeps its least, the state is cut";
    // Short heads: the column starts after the least.
    EXPECT_EQ(stateStart(700, 30, 70, kLeast, kGap), 72);
}

TEST(WindowOnScreen, aStoredPlaceComesBackOntoTheScreensOfToday) {
    constexpr int kLeastWidth = 325, kLeastHeight = 355;
    const ScreenRect wide{0, 0, 1920, 1040};
    const ScreenRect laptop{0, 0, 1280, 984};
    const ScreenRect leftOfWide{-1280, 0, 1280, 1024};
    const ScreenRect portraitUnderPanel{0, 30, 1080, 1850};
    const struct {
        const char* what;
        ScreenRect stored;
        std::vector<ScreenRect> screens;
        ScreenRect expected;
    } cases[] = {
        {"fits", {100, 100, 600, 500}, {wide}, {100, 100, 600, 500}},
        {"larger than the screen now", {50, 40, 1900, 1000}, {laptop}, {0, 0, 1280, 984}},
        {"on a screen that is gone", {2200, 300, 800, 600}, {wide}, {1120, 300, 800, 600}},
        {"on the second screen",
         {-1000, 100, 700, 500},
         {wide, leftOfWide},
         {-1000, 100, 700, 500}},
        {"mostly on the primary", {-300, 100, 800, 600}, {wide, leftOfWide}, {0, 100, 800, 600}},
        {"above a panel", {500, -200, 900, 700}, {portraitUnderPanel}, {180, 30, 900, 700}},
        {"smaller than its least", {10, 10, 100, 50}, {wide}, {10, 10, 325, 355}},
        {"a screen smaller than the least",
         {50, 50, 400, 400},
         {{0, 0, 300, 300}},
         {0, 0, 325, 355}},
        {"no screen known", {-5000, 10, 100, 400}, {}, {-5000, 10, 325, 400}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(broughtOnScreen(c.stored, kLeastWidth, kLeastHeight, c.screens), c.expected)
            << c.what;
}

// The placement goes to the window before it shows, and comes back from it
// as it closes, in the one save of ERRH.ini.
TEST(WindowPlacementSettings, restoredBeforeShowing_savedOnClose_keepingTheUsersSpelling) {
    CoreProgram program;
    MemoryStore& store = program.store;
    store.values = {{"Window/Left", "+120"},
                    {"Window/Top", "-8"},
                    {"Window/Width", "640"},
                    {"Window/Height", "480"},
                    {"Window/Maximized", "1"}};
    program.module.Load_Settings(program.desktop);
    EXPECT_EQ(program.desktop.only({"placement"}),
              std::vector<std::string>{"placement 120 -8 640 480 maximized"});

    program.desktop.windowPlacement = WindowPlacement{{120, -8, 640, 480}, true};
    program.main.MDIForm_Unload();
    EXPECT_EQ(store.values["Window/Left"], "+120");
    program.desktop.windowPlacement = WindowPlacement{{200, -8, 800, 600}, false};
    program.main.MDIForm_Unload();
    EXPECT_EQ(store.values["Window/Left"], "200");
    EXPECT_EQ(store.values["Window/Width"], "800");
    EXPECT_EQ(store.values["Window/Height"], "600");
    EXPECT_EQ(store.values["Window/Maximized"], "0");

    // A place that is not whole numbers, or has no size, is no place.
    for (const auto& [key, value] :
         std::vector<std::pair<std::string, std::string>>{{"Window/Left", "12px"},
                                                          {"Window/Top", ""},
                                                          {"Window/Width", "0"},
                                                          {"Window/Height", "-480"},
                                                          {"Window/Width", "99999999999"}}) {
        MemoryStore odd;
        odd.values = {{"Window/Left", "1"},
                      {"Window/Top", "2"},
                      {"Window/Width", "640"},
                      {"Window/Height", "480"}};
        odd.values[key] = value;
        FakeDesktop desktop;
        Module1 module(odd, "/app");
        module.Load_Settings(desktop);
        EXPECT_TRUE(desktop.only({"placement"}).empty()) << key << "=" << value;
        EXPECT_FALSE(module.windowPlacement()) << key << "=" << value;
    }

    // A window that cannot tell where it is writes no place.
    CoreProgram silent;
    silent.main.MDIForm_Unload();
    for (const auto& [key, value] : silent.store.values)
        EXPECT_FALSE(key.starts_with("Window/")) << key;
}

} // namespace
} // namespace faultward::coretest

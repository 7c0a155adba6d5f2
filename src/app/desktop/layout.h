#pragma once

namespace faultward {

// The windows' design, for every front end to lay out the same: positions and
// sizes in twips (1/1440 inch) from the top left corner of the client area,
// and the few fonts the design names. The tool row is in tool_row.h.

struct TwipsRect {
    int left, top, width, height;
};

struct FontSpec {
    const char* face;
    double points;
    bool bold;
};

// Twips as pixels at dpi dots per inch, to the nearest pixel: 15 twips a
// pixel at 96.
constexpr int pixelsFromTwips(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

// The main window keeps one outer size in its normal state.
inline constexpr int kMainOuterWidth = 4875;
inline constexpr int kMainOuterHeight = 5325;
// Its client area under the menu bar, as designed.
inline constexpr int kMainClientWidth = 4755;
inline constexpr int kMainClientHeight = 4635;

// The project files window (Form1).
inline constexpr int kFilesWidth = 4740;
inline constexpr int kFilesHeight = 4695;
// The etched rule under the tool row: a line in the window text colour with
// one in the window background colour just below, one pixel each.
inline constexpr int kRuleDarkTop = 840;
inline constexpr int kRuleLightTop = 855;
inline constexpr int kRuleLength = 5160;
inline constexpr TwipsRect kProjectLabel = {120, 960, 4455, 255};
inline constexpr FontSpec kProjectLabelFont = {"MS Sans Serif", 8.25, true};
// The label's text colour, red, green, blue.
inline constexpr unsigned char kProjectLabelColour[3] = {0, 0, 255};
// Lies over the label while a pass runs.
inline constexpr TwipsRect kProgressBar = {130, 910, 4420, 240};
inline constexpr TwipsRect kFileList = {120, 1200, 4455, 2760};

// How a part of the project files window follows the main window when the
// user makes it larger than its first size, which is also its least.
enum class Anchor {
    TopLeft,    // keeps its place and size
    TopWide,    // keeps its place, widens with the window
    Fill,       // widens and heightens: takes the room
    BottomLeft, // keeps its distance to the bottom and left edges
};
inline constexpr Anchor kToolRowAnchor = Anchor::TopLeft;
inline constexpr Anchor kRuleAnchor = Anchor::TopWide;
inline constexpr Anchor kProjectLabelAnchor = Anchor::TopWide;
inline constexpr Anchor kProgressBarAnchor = Anchor::TopWide;
inline constexpr Anchor kFileListAnchor = Anchor::Fill;
inline constexpr Anchor kSelectButtonsAnchor = Anchor::BottomLeft;

// A procedure's row in the list: its head, then its state. The head is never
// squeezed below the least; the gap lies between the two.
inline constexpr int kLeastProcedureHead = 450;
inline constexpr int kHeadStateGap = 120;

// The About window (frmAbout).
inline constexpr int kAboutClientWidth = 5640;
inline constexpr int kAboutClientHeight = 3600;
inline constexpr TwipsRect kAboutIcon = {270, 120, 540, 540};
inline constexpr TwipsRect kAboutTitle = {1080, 120, 3885, 360};
inline constexpr FontSpec kAboutTitleFont = {"Arial", 11.25, true};
inline constexpr TwipsRect kAboutVersion = {1080, 600, 3885, 225};
// The etched separator: grey (128, 128, 128) with white one pixel below.
inline constexpr TwipsRect kAboutRuleGrey = {0, 2085, 5564, 15};
inline constexpr TwipsRect kAboutRuleWhite = {15, 2100, 5549, 15};
// The panel that holds the maker text and the buttons; what it holds is
// placed relative to it.
inline constexpr TwipsRect kAboutPanel = {0, 2280, 5535, 1335};
inline constexpr FontSpec kAboutPanelFont = {"MS Sans Serif", 8.25, false};

struct MakerLine {
    const char* name;
    const char* text; // UTF-8
    TwipsRect place;  // in the panel
    bool bold;
};

inline constexpr MakerLine kMakerLines[] = {
    {"lblMaker1", "Faultward error-handling assistant", {240, 0, 3735, 255}, true},
    {"lblMaker2", "for Visual Basic 5 projects", {240, 240, 3735, 255}, true},
    {"lblMaker3", "Written by the Faultward developers", {240, 480, 3735, 255}, true},
    {"lblMaker4", "Free to use, share and change", {240, 720, 3735, 255}, true},
    {"lblRights", "\xC2\xA9 Faultward developers", {240, 1080, 3735, 345}, false},
};

// The About window's buttons, cmd_abt by index, in the panel. System Info
// comes first in the tab order.
struct AboutButton {
    int index;
    const char* caption;
    TwipsRect place;
};

inline constexpr AboutButton kAboutSysInfoButton = {2, "&System Info...", {4200, 600, 1245, 345}};
inline constexpr AboutButton kAboutCloseButton = {1, "Close", {4200, 0, 1245, 345}};

} // namespace faultward

#pragma once

namespace faultward::win {

// Command identifiers of the menu items and controls. A group's items share a
// base and add their index, so the index a handler receives is the one the
// design gives (command numbers, handling modes).
inline constexpr int kFileItemBase = 100;   // mnu_f
inline constexpr int kOptionItemBase = 200; // mnu_o
inline constexpr int kHelpItemBase = 300;   // mnu_h
inline constexpr int kGroupSize = 100;

inline constexpr int kToolButtonBase = 400;   // cmd_tbl
inline constexpr int kSelectButtonBase = 500; // cmd_sel
inline constexpr int kAboutButtonBase = 600;  // cmd_abt
inline constexpr int kFileListId = 700;       // List1
inline constexpr int kProjectLabelId = 701;   // lbl_proh
inline constexpr int kProgressBarId = 702;    // ProgressBar1
inline constexpr int kMdiClientId = 703;
inline constexpr int kAboutIconId = 710;    // picIcon
inline constexpr int kAboutTitleId = 711;   // lblTitle
inline constexpr int kAboutVersionId = 712; // lblVersion
inline constexpr int kMakerLineBase = 720;  // the maker text, in order

// MDI windows number their children from here; none of the ids above.
inline constexpr int kFirstMdiChildId = 50000;

} // namespace faultward::win

#pragma once

#include <Qt>

namespace faultward {

// The frame of a dialog or message box of one size: the window manager gives
// it a title and a close button, and nothing to minimize or maximize.
inline constexpr Qt::WindowFlags kFixedDialogFrame =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

} // namespace faultward

#pragma once

#include "app/desktop/window_placement.h"
#include "app/settings/profile_store.h"

#include <optional>
#include <string_view>

namespace faultward {

// The main window's placement in ERRH.ini: [Window] Left, Top, Width, Height
// (whole pixels) and Maximized (1 or 0).
inline constexpr std::string_view kWindowSection = "Window";

// Nothing unless the four numbers are there, whole, and the size is more
// than nothing: the window then opens where the system puts it.
std::optional<WindowPlacement> readWindowPlacement(ProfileStore& store);

// Writes the keys whose value differs from what the file holds, so a value
// the user wrote in another form of the same number stays as written.
void writeWindowPlacement(ProfileStore& store, const WindowPlacement& placement);

} // namespace faultward

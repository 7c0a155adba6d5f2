#pragma once

#include "app/desktop/sys_info_launcher.h"

#include <functional>

namespace faultward::about {

// The About window's buttons by index (cmd_abt): Close (1) closes the window
// through closeWindow, System Info (2) starts the System Information program;
// any other index does nothing.
void cmd_abt_Click(int index, SysInfoPlatform& platform, const std::function<void()>& closeWindow);

} // namespace faultward::about

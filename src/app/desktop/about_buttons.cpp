#include "app/desktop/about_buttons.h"

#include "app/desktop/layout.h"

namespace faultward::about {

void cmd_abt_Click(int index, SysInfoPlatform& platform, const std::function<void()>& closeWindow) {
    if (index == kAboutCloseButton.index)
        closeWindow();
    else if (index == kAboutSysInfoButton.index)
        StartSysInfo(platform);
}

} // namespace faultward::about

#include "module1.h"

#include "mdi_form1.h"
#include "settings.h"

namespace faultward {

Module1::Module1(ProfileStore& store, std::filesystem::path appPath)
    : store_(store), executableFolder_(std::move(appPath)) {}

void Module1::Load_Settings(MDIForm1& window) {
    const Settings settings = loadSettings(store_);
    Project_File = settings.projectFile;
    Error_Flag = settings.errorFlag;
    window.markModeItem(Error_Flag);
    App_Path = executableFolder_;
}

void Module1::Save_Settings() {
    saveSettings(store_, {Project_File, Error_Flag});
}

} // namespace faultward

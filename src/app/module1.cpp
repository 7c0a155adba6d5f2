#include "app/module1.h"

#include "app/menus.h"
#include "app/settings.h"

namespace faultward {

Module1::Module1(ProfileStore& store, std::filesystem::path appPath)
    : store_(store), executableFolder_(std::move(appPath)) {}

void Module1::Load_Settings(MainWindowView& window) {
    const Settings settings = loadSettings(store_);
    projectFile_ = settings.projectFile;
    errorFlag_ = settings.errorFlag;
    handlerSettings_ = loadHandlerSettings(store_);
    // A stored mode without an item checks none.
    if (isModeItem(errorFlag_))
        window.setModeChecked(errorFlag_, true);
    appPath_ = executableFolder_;
}

void Module1::Save_Settings() {
    saveSettings(store_, {projectFile_, errorFlag_});
    // A file that never had the section stays as it always was.
    if (handlerSettings_ != HandlerSettings() || hasHandlerSettings(store_))
        saveHandlerSettings(store_, handlerSettings_);
}

} // namespace faultward

#include "app/desktop/module1.h"

#include "app/desktop/menus.h"
#include "app/desktop/stored_placement.h"
#include "app/settings/settings.h"
#include "app/texts/texts.h"

namespace faultward {

Module1::Module1(ProfileStore& store, std::filesystem::path appPath)
    : store_(store), executableFolder_(std::move(appPath)) {}

void Module1::Load_Settings(MainWindowView& window) {
    const Settings settings = loadSettings(store_);
    projectFile_ = settings.projectFile;
    errorFlag_ = settings.errorFlag;
    StoredHandlerSettings stored = readHandlerSection(store_);
    handlerSettings_ = withDefaults(stored);
    settingsWarnings_.clear();
    for (const std::string& warning : stored.warnings)
        settingsWarnings_.push_back(storedSettingMessage(store_.displayName(), warning));
    // A stored mode without an item checks none.
    if (isModeItem(errorFlag_))
        window.setModeChecked(errorFlag_, true);
    appPath_ = executableFolder_;
    windowPlacement_ = readWindowPlacement(store_);
    if (windowPlacement_)
        window.restorePlacement(*windowPlacement_);
}

std::optional<std::string> Module1::Save_Settings() {
    // One read and one write: two programs closing together leave the
    // settings of one of them, never a mixture.
    store_.beginEdit();
    saveSettings(store_, {projectFile_, errorFlag_});
    saveHandlerSettings(store_, handlerSettings_);
    if (windowPlacement_)
        writeWindowPlacement(store_, *windowPlacement_);
    if (const std::optional<std::string> cause = store_.commitEdit())
        return settingsNotSavedMessage(store_.writtenName(), *cause);
    return std::nullopt;
}

SettingsLayer Module1::userLayer() const {
    SettingsLayer layer;
    layer.origin = SettingOrigin::UserFile;
    layer.file = store_.displayName();
    layer.values = storedForm(handlerSettings_, errorFlag_);
    // Kept while the mode is chosen, so the dialog can return to it.
    layer.values.templatePath = handlerSettings_.templatePath;
    return layer;
}

} // namespace faultward

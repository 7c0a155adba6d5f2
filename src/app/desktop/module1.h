#pragma once

#include "app/desktop/views.h"
#include "app/desktop/window_placement.h"
#include "app/settings/handler_settings.h"
#include "app/settings/profile_store.h"
#include "app/settings/settings_layers.h"
#include "rewrite/handling_mode.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace faultward {

// The program-wide values, and the settings routines that keep them in
// ERRH.ini between runs.
class Module1 {
public:
    // store is the settings file; appPath the executable's folder.
    Module1(ProfileStore& store, std::filesystem::path appPath);

    // Reads Project_File and Error_Flag, checks the stored mode's item in the
    // Options menu (none for a mode without an item) and sets App_Path.
    void Load_Settings(MainWindowView& window);
    // Also reads the handler settings. Stores Project_File and Error_Flag, and
    // the handler settings that differ from what the file says, in one
    // replace of the file; the message naming the file and the cause when it
    // could not be saved.
    std::optional<std::string> Save_Settings();
    // What the stored handler settings hold that is not used as written, one
    // line each, naming the file and the key; empty when all is well.
    const std::vector<std::string>& settingsWarnings() const { return settingsWarnings_; }

    // The full path of the project last chosen, as bytes.
    const std::string& Project_File() const { return projectFile_; }
    void setProjectFile(std::string path) { projectFile_ = std::move(path); }
    // The handling mode.
    HandlingMode Error_Flag() const { return errorFlag_; }
    void setErrorFlag(HandlingMode mode) { errorFlag_ = mode; }
    // What Insert and Remove work on besides the mode.
    const HandlerSettings& handlerSettings() const { return handlerSettings_; }
    void setHandlerSettings(HandlerSettings settings) { handlerSettings_ = std::move(settings); }
    // The user's settings as the layer under a project's own.
    SettingsLayer userLayer() const;
    // Where the user left the main window: as stored, then as it closed.
    const std::optional<WindowPlacement>& windowPlacement() const { return windowPlacement_; }
    void setWindowPlacement(WindowPlacement placement) { windowPlacement_ = placement; }
    // The executable's folder, once the settings are loaded.
    const std::filesystem::path& App_Path() const { return appPath_; }

private:
    ProfileStore& store_;
    std::filesystem::path executableFolder_;
    std::string projectFile_;
    HandlingMode errorFlag_ = HandlingMode::ShowMessage;
    HandlerSettings handlerSettings_;
    std::vector<std::string> settingsWarnings_;
    std::optional<WindowPlacement> windowPlacement_;
    std::filesystem::path appPath_;
};

} // namespace faultward

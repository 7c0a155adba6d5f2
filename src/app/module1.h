#pragma once

#include "app/profile_store.h"
#include "app/views.h"
#include "rewrite/handling_mode.h"

#include <filesystem>
#include <string>

namespace faultward {

// The program-wide values, and the settings routines that keep two of them
// in ERRH.ini between runs.
class Module1 {
public:
    // store is the settings file; appPath the executable's folder.
    Module1(ProfileStore& store, std::filesystem::path appPath);

    // Reads Project_File and Error_Flag, checks the stored mode's item in the
    // Options menu (none for a mode without an item) and sets App_Path.
    void Load_Settings(MainWindowView& window);
    // Stores Project_File and Error_Flag; a store that cannot be written is
    // passed over.
    void Save_Settings();

    // The full path of the project last chosen, as bytes.
    const std::string& Project_File() const { return projectFile_; }
    void setProjectFile(std::string path) { projectFile_ = std::move(path); }
    // The handling mode.
    HandlingMode Error_Flag() const { return errorFlag_; }
    void setErrorFlag(HandlingMode mode) { errorFlag_ = mode; }
    // The executable's folder, once the settings are loaded.
    const std::filesystem::path& App_Path() const { return appPath_; }

private:
    ProfileStore& store_;
    std::filesystem::path executableFolder_;
    std::string projectFile_;
    HandlingMode errorFlag_ = HandlingMode::ShowMessage;
    std::filesystem::path appPath_;
};

} // namespace faultward

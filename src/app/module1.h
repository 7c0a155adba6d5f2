#pragma once

#include "profile_store.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace faultward {

class MDIForm1;

// The program-wide values, and the settings routines that keep two of them
// in ERRH.ini between runs.
class Module1 {
public:
    // store is the settings file; appPath the executable's folder.
    Module1(ProfileStore& store, std::filesystem::path appPath);

    // Reads Project_File and Error_Flag, marks the stored mode in the
    // window's Options menu (none for a mode without an item) and sets App_Path.
    void Load_Settings(MDIForm1& window);
    // Stores Project_File and Error_Flag; a store that cannot be written is
    // passed over.
    void Save_Settings();

    std::string Project_File; // full path of the project last chosen, as bytes
    std::int16_t Error_Flag = 0;
    std::filesystem::path App_Path;
    std::filesystem::path Help_File; // set by Main once App_Path is known

private:
    ProfileStore& store_;
    std::filesystem::path executableFolder_;
};

} // namespace faultward

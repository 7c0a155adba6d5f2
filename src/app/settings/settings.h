#pragma once

#include "app/settings/profile_store.h"
#include "app/settings/settings_layers.h"
#include "rewrite/handling_mode.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace faultward {

inline constexpr std::string_view kSettingsFileName = "ERRH.ini";
inline constexpr std::string_view kSettingsSection = "OS";
inline constexpr std::string_view kProjectFileKey = "Project_File";
inline constexpr std::string_view kErrorFlagKey = "Error_Flag";

// The two values the program keeps between runs.
struct Settings {
    std::string projectFile;
    HandlingMode errorFlag = HandlingMode::ShowMessage;
};

// The settings file beside the executable.
std::filesystem::path settingsFilePath(const std::filesystem::path& appPath);

// Where the settings are read and written. A copy whose own folder can be
// written keeps ERRH.ini beside it, as a portable copy does. An installed copy,
// in a folder its user cannot write or in one the system keeps programs in
// for every user (where even an administrator's choices would become
// everyone's), writes the user's own ERRH.ini in userFolder and reads it from
// there, or from beside the executable until the user's file exists.
struct SettingsLocation {
    std::filesystem::path file;     // read, and written
    std::filesystem::path fallback; // read while file does not exist; empty: none
};
SettingsLocation settingsLocation(const std::filesystem::path& appPath, bool appFolderWritable,
                                  bool appFolderShared,
                                  const std::optional<std::filesystem::path>& userFolder);

// The settings store of the program in appPath, by the rule above on this system.
std::unique_ptr<IniFileStore> openSettingsStore(const std::filesystem::path& appPath);

// The number that a stored mode's text begins with: blanks ignored, a sign,
// digits with an optional fraction and exponent, or &H/&O forms; text that does
// not begin with a number reads as 0. Nothing when the text holds no number at all.
double leadingNumber(std::string_view text);

// The number of the mode that stored text gives: its leading number rounded to
// the nearest integer, halves to the even neighbour. Nothing when that does not
// fit in 16 bits, so the caller keeps the mode it had.
std::optional<std::int16_t> parseErrorFlag(std::string_view text);

Settings loadSettings(ProfileStore& store);

// The user's ERRH.ini as a layer of settings: its [Handler] section, and the
// Options menu's mode from [OS].
SettingsLayer userSettingsLayer(ProfileStore& store);
void saveSettings(ProfileStore& store, const Settings& settings);

} // namespace faultward

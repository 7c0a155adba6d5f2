#pragma once

#include "app/settings/handler_settings.h"

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace faultward {

// Where a setting's value comes from, in the order that decides: an option
// given on the command line, then the project's own settings file, then the
// user's ERRH.ini, then what the program has always done.
enum class SettingOrigin { CommandLine, ProjectFile, UserFile, BuiltIn };

enum class SettingKey {
    Procedures,
    Files,
    SkipHandled,
    Handler,
    Template,
    LineNumbers,
    Mode,
    Start,
    Step
};
inline constexpr std::size_t kSettingKeyCount = 9;
inline constexpr std::array<SettingKey, kSettingKeyCount> kAllSettingKeys = {
    SettingKey::Procedures, SettingKey::Files,    SettingKey::SkipHandled,
    SettingKey::Handler,    SettingKey::Template, SettingKey::LineNumbers,
    SettingKey::Mode,       SettingKey::Start,    SettingKey::Step};

// One source of settings: what it says, and how messages name it.
struct SettingsLayer {
    SettingOrigin origin = SettingOrigin::BuiltIn;
    std::string file;             // its path as shown; empty for the command line
    std::filesystem::path folder; // a relative template path lies in it; empty: as given
    std::string modeKey = "Mode"; // ERRH.ini keeps the mode as [OS] Error_Flag
    StoredHandlerSettings values;
};

// The settings a command runs with, and the layer each came from.
struct LayeredSettings {
    HandlerSettings handler; // its templatePath is the one to read, folder applied
    HandlingMode mode = HandlingMode::ShowMessage;
    int start = 10;
    int step = 10;
    // For each key, the index of the layer that gave its value; nothing for a
    // built-in default.
    std::array<std::optional<std::size_t>, kSettingKeyCount> from{};

    std::optional<std::size_t> origin(SettingKey key) const {
        return from[static_cast<std::size_t>(key)];
    }
};

// Each key takes its value from the first layer that has one. The template
// comes with the choice of a template: from the layer whose Handler= chose it,
// so a project's template is never the path some user keeps.
LayeredSettings layerSettings(std::span<const SettingsLayer> layers);

// "Procedures=Sub,Function" for the keys of keys that layer gave and that
// differ from what the layers below it give or from the built-in defaults,
// in the order of SettingKey.
std::vector<std::string> settingsChanged(const LayeredSettings& settings,
                                         std::span<const SettingsLayer> layers, std::size_t layer,
                                         std::span<const SettingKey> keys);

// "FILE [Handler] Template=" for the layer, as messages name a stored value.
std::string storedKeyName(const SettingsLayer& layer, SettingKey key);

} // namespace faultward

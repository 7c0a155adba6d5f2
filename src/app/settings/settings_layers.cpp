#include "app/settings/settings_layers.h"

#include "platform/entry_path.h"
#include "platform/path_bytes.h"

#include <algorithm>

namespace faultward {
namespace {

std::size_t index(SettingKey key) {
    return static_cast<std::size_t>(key);
}

// The first layer for which has(values) holds.
template <typename Has>
std::optional<std::size_t> firstWith(std::span<const SettingsLayer> layers, Has has) {
    for (std::size_t i = 0; i < layers.size(); ++i)
        if (has(layers[i].values))
            return i;
    return std::nullopt;
}

// Sets target from the first layer that has the value, and notes the layer.
template <typename T, typename Value>
void take(std::span<const SettingsLayer> layers, LayeredSettings& settings, SettingKey key,
          std::optional<Value> StoredHandlerSettings::*field, T& target) {
    const auto layer = firstWith(
        layers, [&](const StoredHandlerSettings& values) { return (values.*field).has_value(); });
    if (!layer)
        return;
    target = *(layers[*layer].values.*field);
    settings.from[index(key)] = layer;
}

std::string keyName(const SettingsLayer& layer, SettingKey key) {
    switch (key) {
    case SettingKey::Procedures:
        return std::string(kProceduresKey);
    case SettingKey::Files:
        return std::string(kFilesKey);
    case SettingKey::SkipHandled:
        return std::string(kSkipHandledKey);
    case SettingKey::Handler:
        return std::string(kHandlerKey);
    case SettingKey::Template:
        return std::string(kTemplateKey);
    case SettingKey::LineNumbers:
        return std::string(kLineNumbersKey);
    case SettingKey::Mode:
        return layer.modeKey;
    case SettingKey::Start:
        return std::string(kStartKey);
    case SettingKey::Step:
        return std::string(kStepKey);
    }
    return {};
}

// The value as the file would say it, when it is not the one the settings
// below would give.
std::optional<std::string> changedValue(const LayeredSettings& settings,
                                        const LayeredSettings& below, const SettingsLayer& layer,
                                        SettingKey key) {
    const HandlerSettings& defaults = below.handler;
    const auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    switch (key) {
    case SettingKey::Procedures:
        if (settings.handler.procedures != defaults.procedures)
            return procedureKindsText(settings.handler.procedures);
        break;
    case SettingKey::Files:
        if (settings.handler.files != defaults.files)
            return sourceKindsText(settings.handler.files);
        break;
    case SettingKey::SkipHandled:
        if (settings.handler.skipHandled != defaults.skipHandled)
            return flag(settings.handler.skipHandled);
        break;
    case SettingKey::Handler:
        if (settings.handler.handler != defaults.handler)
            return std::string(settings.handler.handler == HandlerSource::Template ? "Template"
                                                                                   : "Mode");
        break;
    case SettingKey::Template:
        if (settings.handler.handler == HandlerSource::Template &&
            (defaults.handler != HandlerSource::Template ||
             settings.handler.templatePath != defaults.templatePath))
            return layer.values.templatePath.value_or("");
        break;
    case SettingKey::LineNumbers:
        if (settings.handler.lineNumbers != defaults.lineNumbers)
            return flag(settings.handler.lineNumbers);
        break;
    case SettingKey::Mode:
        if (settings.mode != below.mode)
            return std::to_string(storedValue(settings.mode));
        break;
    case SettingKey::Start:
        if (settings.start != below.start)
            return std::to_string(settings.start);
        break;
    case SettingKey::Step:
        if (settings.step != below.step)
            return std::to_string(settings.step);
        break;
    }
    return std::nullopt;
}

} // namespace

LayeredSettings layerSettings(std::span<const SettingsLayer> layers) {
    LayeredSettings settings;
    HandlerSettings& handler = settings.handler;
    take(layers, settings, SettingKey::Procedures, &StoredHandlerSettings::procedures,
         handler.procedures);
    take(layers, settings, SettingKey::Files, &StoredHandlerSettings::files, handler.files);
    take(layers, settings, SettingKey::SkipHandled, &StoredHandlerSettings::skipHandled,
         handler.skipHandled);
    take(layers, settings, SettingKey::LineNumbers, &StoredHandlerSettings::lineNumbers,
         handler.lineNumbers);
    take(layers, settings, SettingKey::Handler, &StoredHandlerSettings::handler, handler.handler);
    take(layers, settings, SettingKey::Mode, &StoredHandlerSettings::mode, settings.mode);
    take(layers, settings, SettingKey::Start, &StoredHandlerSettings::start, settings.start);
    take(layers, settings, SettingKey::Step, &StoredHandlerSettings::step, settings.step);

    const auto chooser = settings.origin(SettingKey::Handler);
    if (handler.handler == HandlerSource::Template && chooser) {
        // The template belongs to the choice of it.
        const SettingsLayer& layer = layers[*chooser];
        handler.templatePath = layer.values.templatePath.value_or("");
        settings.from[index(SettingKey::Template)] = chooser;
        // A project's template is named as its files are, the way Windows
        // finds them, from the project's folder.
        if (!handler.templatePath.empty() && !layer.folder.empty()) {
            auto path = resolveEntryPath(handler.templatePath, layer.folder);
            if (!path)
                path = literalEntryPath(handler.templatePath, layer.folder);
            if (path)
                handler.templatePath = bytesFromPath(*path);
        }
    } else {
        // Kept while the mode is chosen, so the dialog can return to it.
        take(layers, settings, SettingKey::Template, &StoredHandlerSettings::templatePath,
             handler.templatePath);
    }
    return settings;
}

std::vector<std::string> settingsChanged(const LayeredSettings& settings,
                                         std::span<const SettingsLayer> layers, std::size_t layer,
                                         std::span<const SettingKey> keys) {
    std::vector<std::string> changed;
    // A value changes the command when it is not what the files below would
    // give, nor what the command does without any file: a file that says
    // what the one below says still makes the command differ from its own.
    const LayeredSettings below = layerSettings(layers.subspan(layer + 1));
    const LayeredSettings none = layerSettings({});
    for (std::size_t key = 0; key < kSettingKeyCount; ++key) {
        const SettingKey each = static_cast<SettingKey>(key);
        if (settings.from[key] != layer || std::find(keys.begin(), keys.end(), each) == keys.end())
            continue;
        auto value = changedValue(settings, below, layers[layer], each);
        if (!value)
            value = changedValue(settings, none, layers[layer], each);
        if (value)
            changed.push_back(keyName(layers[layer], each) + "=" + *value);
    }
    return changed;
}

std::string storedKeyName(const SettingsLayer& layer, SettingKey key) {
    const bool inOs = key == SettingKey::Mode && layer.modeKey != kModeKey;
    return layer.file + (inOs ? " [OS] " : " [Handler] ") + keyName(layer, key) + "=";
}

} // namespace faultward

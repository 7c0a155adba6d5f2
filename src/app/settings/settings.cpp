#include "app/settings/settings.h"

#include "platform/user_folders.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>

namespace faultward {
namespace {

// The fixed buffer the stored values are read into; one place holds the terminator.
constexpr std::size_t kReadBufferSize = 512;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

double radixNumber(std::string_view digits, int radix) {
    // Hexadecimal and octal literals are 16-bit when they fit in four (six)
    // digits, 32-bit otherwise, and their top bit is the sign.
    unsigned long long value = 0;
    std::size_t count = 0;
    for (char c : digits) {
        int digit;
        if (isDigit(c))
            digit = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        if (digit >= radix)
            break;
        value = value * static_cast<unsigned>(radix) + static_cast<unsigned>(digit);
        if (++count > 11)
            return HUGE_VAL;
    }
    if (value <= 0xFFFF)
        return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
    if (value <= 0xFFFFFFFFull)
        return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
    return HUGE_VAL;
}

} // namespace

std::filesystem::path settingsFilePath(const std::filesystem::path& appPath) {
    // Joined as text: a root folder gives "//ERRH.ini" (on Windows "C:\\ERRH.ini"),
    // which the system accepts.
    std::filesystem::path file = appPath;
    file += std::filesystem::path::preferred_separator;
    file += kSettingsFileName;
    return file;
}

SettingsLocation settingsLocation(const std::filesystem::path& appPath, bool appFolderWritable,
                                  bool appFolderShared,
                                  const std::optional<std::filesystem::path>& userFolder) {
    const std::filesystem::path beside = settingsFilePath(appPath);
    if ((appFolderWritable && !appFolderShared) || !userFolder)
        return {beside, {}};
    return {*userFolder / std::string(kSettingsFileName), beside};
}

std::unique_ptr<IniFileStore> openSettingsStore(const std::filesystem::path& appPath) {
    const SettingsLocation location = settingsLocation(
        appPath, canCreateFilesIn(appPath), isSharedProgramFolder(appPath), userSettingsFolder());
    if (location.fallback.empty())
        return std::make_unique<IniFileStore>(location.file);
    return std::make_unique<IniFileStore>(location.file, location.fallback);
}

double leadingNumber(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            compact.push_back(c);

    if (compact.size() >= 2 && compact[0] == '&') {
        const char kind = compact[1];
        if (kind == 'h' || kind == 'H')
            return radixNumber(std::string_view(compact).substr(2), 16);
        if (kind == 'o' || kind == 'O')
            return radixNumber(std::string_view(compact).substr(2), 8);
        return 0;
    }

    // Keep only the longest prefix that reads as a decimal number.
    std::size_t i = 0;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < compact.size() && isDigit(compact[i]))
        ++i, ++digits;
    if (i < compact.size() && compact[i] == '.') {
        ++i;
        while (i < compact.size() && isDigit(compact[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    std::string number = compact.substr(0, i);
    if (i < compact.size() &&
        (compact[i] == 'e' || compact[i] == 'E' || compact[i] == 'd' || compact[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-'))
            ++j;
        const std::size_t exponentStart = j;
        while (j < compact.size() && isDigit(compact[j]))
            ++j;
        if (j > exponentStart) {
            number += 'e';
            number += compact.substr(i + 1, j - i - 1);
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

std::optional<std::int16_t> parseErrorFlag(std::string_view text) {
    const double value = leadingNumber(text);
    if (!std::isfinite(value))
        return std::nullopt;
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

Settings loadSettings(ProfileStore& store) {
    Settings settings;
    settings.projectFile = store.readString(kSettingsSection, kProjectFileKey, "", kReadBufferSize);
    const std::string mode =
        store.readString(kSettingsSection, kErrorFlagKey, "0", kReadBufferSize);
    if (const auto flag = parseErrorFlag(mode))
        settings.errorFlag = handlingModeOf(*flag);
    return settings;
}

SettingsLayer userSettingsLayer(ProfileStore& store) {
    SettingsLayer layer;
    layer.origin = SettingOrigin::UserFile;
    layer.file = store.displayName();
    layer.modeKey = std::string(kErrorFlagKey);
    layer.values = readHandlerSection(store);
    // The mode is the Options menu's, kept in [OS].
    layer.values.mode.reset();
    constexpr std::string_view kAbsent = "\x01";
    const std::string flag =
        store.readString(kSettingsSection, kErrorFlagKey, kAbsent, kReadBufferSize);
    if (flag != kAbsent)
        if (const auto value = parseErrorFlag(flag))
            layer.values.mode = handlingModeOf(*value);
    return layer;
}

void saveSettings(ProfileStore& store, const Settings& settings) {
    // Each write stands alone; a failed one does not stop the other.
    store.writeString(kSettingsSection, kProjectFileKey, settings.projectFile);
    store.writeString(kSettingsSection, kErrorFlagKey,
                      std::to_string(storedValue(settings.errorFlag)));
}

} // namespace faultward

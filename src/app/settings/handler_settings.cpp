#include "app/settings/handler_settings.h"

#include "app/settings/ini_text.h"

#include "rewrite/line_number_rule.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <utility>

namespace faultward {
namespace {

constexpr std::size_t kReadBufferSize = 512;
// Long enough for the long paths Windows accepts.
constexpr std::size_t kPathBufferSize = 32768;

constexpr std::array kKeys = {kProceduresKey, kFilesKey,    kSkipHandledKey,
                              kHandlerKey,    kTemplateKey, kLineNumbersKey,
                              kModeKey,       kStartKey,    kStepKey};

constexpr std::array<std::pair<ProcedureKind, std::string_view>, 3> kProcedureWords = {{
    {ProcedureKind::Sub, "Sub"},
    {ProcedureKind::Function, "Function"},
    {ProcedureKind::Property, "Property"},
}};
constexpr std::array<std::pair<SourceKind, std::string_view>, 5> kSourceWords = {{
    {SourceKind::Form, "frm"},
    {SourceKind::Module, "bas"},
    {SourceKind::Class, "cls"},
    {SourceKind::UserControl, "ctl"},
    {SourceKind::Document, "doc"},
}};

// A value never stored, to tell a missing key from an empty one.
constexpr std::string_view kAbsent = "\x01";

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

template <typename Kind, std::size_t N>
std::string kindsText(KindSet<Kind> kinds,
                      const std::array<std::pair<Kind, std::string_view>, N>& words) {
    std::string text;
    for (const auto& [kind, word] : words) {
        if (!kinds.has(kind))
            continue;
        if (!text.empty())
            text += ',';
        text += word;
    }
    return text;
}

// Words separated by commas, each a kind's word in any letter case; the
// words that name no kind are put in unknown.
template <typename Kind, std::size_t N>
KindSet<Kind> readKinds(std::string_view text,
                        const std::array<std::pair<Kind, std::string_view>, N>& words,
                        std::vector<std::string_view>& unknown) {
    KindSet<Kind> kinds;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view word = trimBlanks(text.substr(0, comma));
        bool known = false;
        for (const auto& [kind, name] : words) {
            if (sameWord(word, name)) {
                kinds = kinds | kind;
                known = true;
            }
        }
        if (!known)
            unknown.push_back(word);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return kinds;
}

template <typename Kind, std::size_t N>
std::optional<KindSet<Kind>>
parseKinds(std::string_view text, const std::array<std::pair<Kind, std::string_view>, N>& words) {
    std::vector<std::string_view> unknown;
    const KindSet<Kind> kinds = readKinds(text, words, unknown);
    if (!unknown.empty() || kinds.empty())
        return std::nullopt;
    return kinds;
}

// "Sub, Function or Property".
template <typename Kind, std::size_t N>
std::string wordChoice(const std::array<std::pair<Kind, std::string_view>, N>& words) {
    std::string choice;
    for (std::size_t i = 0; i < N; ++i)
        choice += std::string(i == 0       ? ""
                              : i + 1 == N ? " or "
                                           : ", ") +
                  std::string(words[i].second);
    return choice;
}

std::string keyText(std::string_view key, std::string_view value) {
    return std::string(key) + "=" + std::string(value);
}

// A list's known words, and a warning for the others.
template <typename Kind, std::size_t N>
std::optional<KindSet<Kind>>
storedKinds(std::string_view key, std::string_view text,
            const std::array<std::pair<Kind, std::string_view>, N>& words, KindSet<Kind> defaults,
            std::vector<std::string>& warnings) {
    std::vector<std::string_view> unknown;
    const KindSet<Kind> kinds = readKinds(text, words, unknown);
    if (unknown.empty() && !kinds.empty())
        return kinds;
    std::string warning = keyText(key, text) + ": ";
    if (kinds.empty()) {
        warning +=
            "names none of " + wordChoice(words) + "; " + kindsText(defaults, words) + " is used";
    } else {
        for (std::size_t i = 0; i < unknown.size(); ++i)
            warning += (i == 0 ? "" : ", ") + (unknown[i].empty() ? std::string("an empty word")
                                                                  : std::string(unknown[i]));
        warning += std::string(unknown.size() == 1 ? " is" : " are") + " not " + wordChoice(words) +
                   "; passed over";
    }
    warnings.push_back(std::move(warning));
    return kinds.empty() ? std::nullopt : std::optional<KindSet<Kind>>(kinds);
}

std::optional<bool> parseSwitch(std::string_view text) {
    text = trimBlanks(text);
    if (text == "1" || sameWord(text, "yes") || sameWord(text, "true"))
        return true;
    if (text == "0" || sameWord(text, "no") || sameWord(text, "false"))
        return false;
    return std::nullopt;
}

std::string read(ProfileStore& store, std::string_view key) {
    return store.readString(kHandlerSection, key, kAbsent,
                            key == kTemplateKey ? kPathBufferSize : kReadBufferSize);
}

std::optional<bool> storedSwitch(std::string_view key, std::string_view text,
                                 std::vector<std::string>& warnings) {
    const std::optional<bool> value = parseSwitch(text);
    if (!value)
        warnings.push_back(keyText(key, text) + ": not 0 or 1; 0 is used");
    return value;
}

// A whole number in [low, high], blanks around it allowed.
std::optional<int> storedNumber(std::string_view key, std::string_view text, int low, int high,
                                std::vector<std::string>& warnings) {
    const std::string_view digits = trimBlanks(text);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && end == digits.data() + digits.size() && !digits.empty() &&
        value >= low && value <= high)
        return value;
    warnings.push_back(keyText(key, text) + ": not a whole number from " + std::to_string(low) +
                       " to " + std::to_string(high) + "; passed over");
    return std::nullopt;
}

// The value as writeHandlerKeys writes what the text means, when all of it
// reads as one value; empty otherwise.
std::string canonicalValue(std::string_view key, std::string_view text) {
    if (key == kProceduresKey)
        return procedureKindsText(parseKinds(text, kProcedureWords).value_or(ProcedureKinds()));
    if (key == kFilesKey)
        return sourceKindsText(parseKinds(text, kSourceWords).value_or(SourceKinds()));
    if (key == kSkipHandledKey || key == kLineNumbersKey) {
        const std::optional<bool> on = parseSwitch(text);
        return on ? std::string(*on ? "1" : "0") : std::string();
    }
    if (key == kHandlerKey)
        return sameWord(trimBlanks(text), "Template") ? "Template"
               : sameWord(trimBlanks(text), "Mode")   ? "Mode"
                                                      : "";
    if (key == kModeKey || key == kStartKey || key == kStepKey) {
        std::vector<std::string> ignored;
        const std::optional<int> number = storedNumber(key, text, INT16_MIN, INT32_MAX, ignored);
        return number ? std::to_string(*number) : std::string();
    }
    return std::string(text);
}

} // namespace

std::string procedureKindsText(ProcedureKinds kinds) {
    return kindsText(kinds, kProcedureWords);
}

std::string sourceKindsText(SourceKinds kinds) {
    return kindsText(kinds, kSourceWords);
}

std::optional<ProcedureKinds> parseProcedureKinds(std::string_view text) {
    return parseKinds(text, kProcedureWords);
}

std::optional<SourceKinds> parseSourceKinds(std::string_view text) {
    return parseKinds(text, kSourceWords);
}

StoredHandlerSettings readHandlerSection(ProfileStore& store) {
    StoredHandlerSettings stored;
    stored.warnings = store.keyWarnings(kHandlerSection, kKeys);
    std::vector<std::string> warnings;
    if (const std::string text = read(store, kProceduresKey); text != kAbsent)
        stored.procedures = storedKinds(kProceduresKey, text, kProcedureWords,
                                        ProcedureKinds(ProcedureKind::Sub), warnings);
    if (const std::string text = read(store, kFilesKey); text != kAbsent)
        stored.files = storedKinds(kFilesKey, text, kSourceWords, kDefaultSourceKinds, warnings);
    if (const std::string text = read(store, kSkipHandledKey); text != kAbsent)
        stored.skipHandled = storedSwitch(kSkipHandledKey, text, warnings);
    if (const std::string text = read(store, kLineNumbersKey); text != kAbsent)
        stored.lineNumbers = storedSwitch(kLineNumbersKey, text, warnings);
    if (const std::string text = read(store, kHandlerKey); text != kAbsent) {
        if (sameWord(trimBlanks(text), "Template"))
            stored.handler = HandlerSource::Template;
        else if (sameWord(trimBlanks(text), "Mode"))
            stored.handler = HandlerSource::Mode;
        else
            warnings.push_back(keyText(kHandlerKey, text) + ": not Mode or Template; Mode is used");
    }
    if (std::string path = read(store, kTemplateKey); path != kAbsent)
        stored.templatePath = std::move(path);
    if (const std::string text = read(store, kModeKey); text != kAbsent) {
        if (const auto mode = storedNumber(kModeKey, text, INT16_MIN, INT16_MAX, warnings)) {
            stored.mode = handlingModeOf(static_cast<std::int16_t>(*mode));
            if (!stored.handler)
                stored.handler = HandlerSource::Mode;
        }
    }
    if (const std::string text = read(store, kStartKey); text != kAbsent)
        stored.start = storedNumber(kStartKey, text, 1, kHighestLineNumber, warnings);
    if (const std::string text = read(store, kStepKey); text != kAbsent)
        stored.step = storedNumber(kStepKey, text, 1, kHighestLineNumber, warnings);
    if (stored.mode && effectiveMode(*stored.mode) != *stored.mode)
        warnings.push_back(keyText(kModeKey, read(store, kModeKey)) + ": not 0, 1 or 2; acts as " +
                           std::to_string(storedValue(effectiveMode(*stored.mode))));
    // Each warning begins with its key: it goes where the key's line is.
    for (std::string& warning : warnings) {
        const std::string_view key = std::string_view(warning).substr(0, warning.find('='));
        const std::optional<std::size_t> line = store.lineOf(kHandlerSection, key);
        stored.warnings.push_back((line ? "line " + std::to_string(*line) + " " : std::string()) +
                                  "[" + std::string(kHandlerSection) + "] " + warning);
    }
    return stored;
}

HandlerSettings withDefaults(const StoredHandlerSettings& stored) {
    HandlerSettings settings;
    settings.procedures = stored.procedures.value_or(settings.procedures);
    settings.files = stored.files.value_or(settings.files);
    settings.skipHandled = stored.skipHandled.value_or(settings.skipHandled);
    settings.handler = stored.handler.value_or(settings.handler);
    settings.templatePath = stored.templatePath.value_or(settings.templatePath);
    settings.lineNumbers = stored.lineNumbers.value_or(settings.lineNumbers);
    return settings;
}

HandlerSettings loadHandlerSettings(ProfileStore& store) {
    return withDefaults(readHandlerSection(store));
}

void saveHandlerSettings(ProfileStore& store, const HandlerSettings& settings) {
    const HandlerSettings stored = loadHandlerSettings(store);
    // Each write stands alone; a failed one does not stop the others.
    if (settings.procedures != stored.procedures)
        store.writeString(kHandlerSection, kProceduresKey, procedureKindsText(settings.procedures));
    if (settings.files != stored.files)
        store.writeString(kHandlerSection, kFilesKey, sourceKindsText(settings.files));
    if (settings.skipHandled != stored.skipHandled)
        store.writeString(kHandlerSection, kSkipHandledKey, settings.skipHandled ? "1" : "0");
    if (settings.handler != stored.handler)
        store.writeString(kHandlerSection, kHandlerKey,
                          settings.handler == HandlerSource::Template ? "Template" : "Mode");
    if (settings.templatePath != stored.templatePath)
        store.writeString(kHandlerSection, kTemplateKey, settings.templatePath);
    if (settings.lineNumbers != stored.lineNumbers)
        store.writeString(kHandlerSection, kLineNumbersKey, settings.lineNumbers ? "1" : "0");
}

void writeHandlerKeys(ProfileStore& store, const StoredHandlerSettings& stored) {
    const auto flag = [](bool on) { return on ? "1" : "0"; };
    // A line that already means the value stays in its own words.
    const auto write = [&](std::string_view key, const std::string& text) {
        const std::string written = read(store, key);
        if (written == kAbsent || canonicalValue(key, written) != text)
            store.writeString(kHandlerSection, key, text);
    };
    if (stored.procedures)
        write(kProceduresKey, procedureKindsText(*stored.procedures));
    if (stored.files)
        write(kFilesKey, sourceKindsText(*stored.files));
    if (stored.skipHandled)
        write(kSkipHandledKey, flag(*stored.skipHandled));
    if (stored.handler)
        write(kHandlerKey, *stored.handler == HandlerSource::Template ? "Template" : "Mode");
    if (stored.templatePath)
        write(kTemplateKey, *stored.templatePath);
    if (stored.lineNumbers)
        write(kLineNumbersKey, flag(*stored.lineNumbers));
    if (stored.mode)
        write(kModeKey, std::to_string(storedValue(*stored.mode)));
    if (stored.start)
        write(kStartKey, std::to_string(*stored.start));
    if (stored.step)
        write(kStepKey, std::to_string(*stored.step));
}

StoredHandlerSettings storedForm(const HandlerSettings& settings, HandlingMode mode) {
    StoredHandlerSettings stored;
    stored.procedures = settings.procedures;
    stored.files = settings.files;
    stored.skipHandled = settings.skipHandled;
    stored.handler = settings.handler;
    if (settings.handler == HandlerSource::Template)
        stored.templatePath = settings.templatePath;
    else
        stored.mode = mode;
    stored.lineNumbers = settings.lineNumbers;
    return stored;
}

bool hasHandlerSettings(ProfileStore& store) {
    for (const std::string_view key : kKeys)
        if (read(store, key) != kAbsent)
            return true;
    return false;
}

} // namespace faultward

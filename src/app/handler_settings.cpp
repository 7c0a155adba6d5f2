#include "app/handler_settings.h"

#include <array>
#include <utility>

namespace faultward {
namespace {

constexpr std::size_t kReadBufferSize = 512;
// Long enough for the long paths Windows accepts.
constexpr std::size_t kPathBufferSize = 32768;

constexpr std::string_view kProceduresKey = "Procedures";
constexpr std::string_view kFilesKey = "Files";
constexpr std::string_view kSkipHandledKey = "SkipHandled";
constexpr std::string_view kHandlerKey = "Handler";
constexpr std::string_view kTemplateKey = "Template";
constexpr std::string_view kLineNumbersKey = "LineNumbers";
constexpr std::array kKeys = {kProceduresKey, kFilesKey,    kSkipHandledKey,
                              kHandlerKey,    kTemplateKey, kLineNumbersKey};

constexpr std::array<std::pair<ProcedureKind, std::string_view>, 3> kProcedureWords = {{
    {ProcedureKind::Sub, "Sub"},
    {ProcedureKind::Function, "Function"},
    {ProcedureKind::Property, "Property"},
}};
constexpr std::array<std::pair<SourceKind, std::string_view>, 4> kSourceWords = {{
    {SourceKind::Form, "frm"},
    {SourceKind::Module, "bas"},
    {SourceKind::Class, "cls"},
    {SourceKind::UserControl, "ctl"},
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

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
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

// Words separated by commas, each a kind's word in any letter case.
template <typename Kind, std::size_t N>
std::optional<KindSet<Kind>>
parseKinds(std::string_view text, const std::array<std::pair<Kind, std::string_view>, N>& words) {
    KindSet<Kind> kinds;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view word = trimmed(text.substr(0, comma));
        bool known = false;
        for (const auto& [kind, name] : words) {
            if (sameWord(word, name)) {
                kinds = kinds | kind;
                known = true;
            }
        }
        if (!known)
            return std::nullopt;
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    if (kinds.empty())
        return std::nullopt;
    return kinds;
}

std::optional<bool> parseSwitch(std::string_view text) {
    text = trimmed(text);
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

HandlerSettings loadHandlerSettings(ProfileStore& store) {
    HandlerSettings settings;
    if (const auto kinds = parseProcedureKinds(read(store, kProceduresKey)))
        settings.procedures = *kinds;
    if (const auto kinds = parseSourceKinds(read(store, kFilesKey)))
        settings.files = *kinds;
    settings.skipHandled = parseSwitch(read(store, kSkipHandledKey)).value_or(false);
    settings.lineNumbers = parseSwitch(read(store, kLineNumbersKey)).value_or(false);
    if (sameWord(trimmed(read(store, kHandlerKey)), "Template"))
        settings.handler = HandlerSource::Template;
    if (std::string path = read(store, kTemplateKey); path != kAbsent)
        settings.templatePath = std::move(path);
    return settings;
}

void saveHandlerSettings(ProfileStore& store, const HandlerSettings& settings) {
    // Each write stands alone; a failed one does not stop the others.
    store.writeString(kHandlerSection, kProceduresKey, procedureKindsText(settings.procedures));
    store.writeString(kHandlerSection, kFilesKey, sourceKindsText(settings.files));
    store.writeString(kHandlerSection, kSkipHandledKey, settings.skipHandled ? "1" : "0");
    store.writeString(kHandlerSection, kHandlerKey,
                      settings.handler == HandlerSource::Template ? "Template" : "Mode");
    store.writeString(kHandlerSection, kTemplateKey, settings.templatePath);
    store.writeString(kHandlerSection, kLineNumbersKey, settings.lineNumbers ? "1" : "0");
}

bool hasHandlerSettings(ProfileStore& store) {
    for (const std::string_view key : kKeys)
        if (read(store, key) != kAbsent)
            return true;
    return false;
}

} // namespace faultward

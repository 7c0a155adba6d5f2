#include "project/designer_companions.h"

#include "platform/windows_names.h"
#include "rewrite/text_lines.h"

#include <algorithm>
#include <array>
#include <utility>

namespace faultward {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kCompanions = {{
    {".frm", ".frx"},
    {".ctl", ".ctx"},
    {".pag", ".pgx"},
    {".dob", ".dox"},
    {".dsr", ".dsx"},
}};

// The extension of a file name, dot included; empty when it has none.
std::string_view extensionOf(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos ||
        fileName.find_first_of("\\/", dot) != std::string_view::npos)
        return {};
    return fileName.substr(dot);
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isNameCharacter(char c) {
    return isHexDigit(c) || (c >= 'g' && c <= 'z') || (c >= 'G' && c <= 'Z') || c == '_';
}

// Scans a string literal that opens at line[open]; where it closes, or npos
// when the line ends first. A doubled quote stands for one inside.
std::size_t closingQuote(std::string_view line, std::size_t open) {
    for (std::size_t at = open + 1; at < line.size(); ++at) {
        if (line[at] != '"')
            continue;
        if (at + 1 < line.size() && line[at + 1] == '"')
            ++at;
        else
            return at;
    }
    return std::string_view::npos;
}

// Whether what follows a closing quote is ":" and a hexadecimal offset.
bool offsetFollows(std::string_view line, std::size_t after) {
    if (after >= line.size() || line[after] != ':')
        return false;
    std::size_t end = after + 1;
    while (end < line.size() && isHexDigit(line[end]))
        ++end;
    return end > after + 1 && (end == line.size() || !isNameCharacter(line[end]));
}

} // namespace

bool hasDesignerBlock(std::string_view fileName) {
    const std::string_view extension = extensionOf(fileName);
    return std::any_of(kCompanions.begin(), kCompanions.end(), [&](const auto& kind) {
        return equalIgnoringAsciiCase(extension, kind.first);
    });
}

std::optional<std::string> sameNamedCompanion(std::string_view fileName) {
    const std::string_view extension = extensionOf(fileName);
    for (const auto& [source, companion] : kCompanions)
        if (!extension.empty() && equalIgnoringAsciiCase(extension, source))
            return std::string(fileName.substr(0, fileName.size() - extension.size())) +
                   std::string(companion);
    return std::nullopt;
}

std::vector<std::string> namedCompanions(std::string_view designerText) {
    std::vector<std::string> names;
    LineCursor lines(designerText);
    std::string_view line;
    while (lines.next(line) && !line.starts_with("Attribute ")) {
        for (std::size_t open = line.find('"'); open != std::string_view::npos;) {
            const std::size_t close = closingQuote(line, open);
            if (close == std::string_view::npos)
                break;
            const std::string_view name = line.substr(open + 1, close - open - 1);
            if (!name.empty() && name.find('"') == std::string_view::npos &&
                offsetFollows(line, close + 1) &&
                std::find(names.begin(), names.end(), name) == names.end())
                names.emplace_back(name);
            open = line.find('"', close + 1);
        }
    }
    return names;
}

} // namespace faultward

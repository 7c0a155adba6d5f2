#include "app/settings/ini_text.h"

#include "platform/windows_names.h"

namespace faultward {

std::string_view trimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::string_view> iniSectionName(std::string_view line) {
    line = trimBlanks(line);
    if (!line.starts_with('['))
        return std::nullopt;
    const std::size_t close = line.find(']');
    return trimBlanks(
        line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
}

bool isIniComment(std::string_view line) {
    line = trimBlanks(line);
    return line.starts_with(';') || line.starts_with('#');
}

std::string_view byteOrderMarkOf(std::string_view content) {
    return content.starts_with(kUtf8ByteOrderMark) ? content.substr(0, kUtf8ByteOrderMark.size())
                                                   : std::string_view();
}

bool beginsAsUtf16(std::string_view content) {
    return content.starts_with("\xFF\xFE") || content.starts_with("\xFE\xFF");
}

std::vector<IniLine> splitIniLines(std::string_view content) {
    std::vector<IniLine> lines;
    while (!content.empty()) {
        const std::size_t end = content.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            lines.push_back({content, {}});
            break;
        }
        std::size_t next = end + 1;
        if (content[end] == '\r' && next < content.size() && content[next] == '\n')
            ++next;
        lines.push_back({content.substr(0, end), content.substr(end, next - end)});
        content.remove_prefix(next);
    }
    return lines;
}

std::vector<IniKeyLine> iniKeyLines(std::span<const std::string_view> lines,
                                    std::string_view section) {
    std::vector<IniKeyLine> keys;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = iniSectionName(lines[i])) {
            inside = equalIgnoringAsciiCase(*name, section);
            continue;
        }
        const std::size_t equals = lines[i].find('=');
        if (!inside || equals == std::string_view::npos || isIniComment(lines[i]))
            continue;
        keys.push_back(
            {i, trimBlanks(lines[i].substr(0, equals)), trimBlanks(lines[i].substr(equals + 1))});
    }
    return keys;
}

std::optional<IniKeyLine> iniKeyLine(std::span<const std::string_view> lines,
                                     std::string_view section, std::string_view key) {
    for (const IniKeyLine& line : iniKeyLines(lines, section))
        if (equalIgnoringAsciiCase(line.key, key))
            return line;
    return std::nullopt;
}

std::string_view unquotedIniValue(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::vector<std::string> iniKeyWarnings(std::span<const std::string_view> lines,
                                        std::string_view section,
                                        std::span<const std::string_view> known) {
    std::vector<std::string> warnings;
    const std::vector<IniKeyLine> keys = iniKeyLines(lines, section);
    const auto where = [&](const IniKeyLine& line) {
        return "line " + std::to_string(line.index + 1) + " [" + std::string(section) + "] " +
               std::string(line.key) + "=";
    };
    // The first line of each known key, so that a long section costs one look a line.
    std::vector<const IniKeyLine*> first(known.size(), nullptr);
    for (const IniKeyLine& line : keys) {
        std::size_t k = 0;
        while (k < known.size() && !equalIgnoringAsciiCase(line.key, known[k]))
            ++k;
        if (k == known.size()) {
            // The value stays unsaid: the file may not be what it is named.
            warnings.push_back(where(line) + " is not a key Faultward reads; passed over");
        } else if (first[k] != nullptr) {
            warnings.push_back(where(line) + " again: line " + std::to_string(first[k]->index + 1) +
                               "'s is used, this one is passed over");
        } else {
            first[k] = &line;
        }
    }
    return warnings;
}

} // namespace faultward

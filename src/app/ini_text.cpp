#include "app/ini_text.h"

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

} // namespace faultward

#include "procedure_lines.h"

#include <array>
#include <cstdlib>

namespace faultward {
namespace {

constexpr std::array<std::string_view, 5> kHeadPrefixes = {
    "Sub ", "Friend Sub ", "Static Sub ", "Private Sub ", "Public Sub ",
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view withoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The part of a line before a comment apostrophe that is not inside a string
// literal. Doubled quotes inside a literal toggle twice, which keeps the state right.
std::string_view codePart(std::string_view line) {
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            inString = !inString;
        else if (line[i] == '\'' && !inString)
            return line.substr(0, i);
    }
    return line;
}

} // namespace

bool isSubHeadSlow(std::string_view line) {
    for (std::string_view prefix : kHeadPrefixes)
        if (line.starts_with(prefix))
            return true;
    return false;
}

std::string_view procedureName(std::string_view headLine) {
    const std::size_t sub = headLine.find("Sub ");
    if (sub == std::string_view::npos)
        return {};
    // Positions count from 1 in the rule this reproduces.
    const long start = static_cast<long>(sub) + 1 + 4;
    const std::size_t paren = headLine.find('(');
    const long q = paren == std::string_view::npos ? 0 : static_cast<long>(paren) + 1;
    const long length = std::labs(q - start);
    const std::size_t from = static_cast<std::size_t>(start - 1);
    if (from >= headLine.size())
        return {};
    return headLine.substr(from, static_cast<std::size_t>(length));
}

bool continuesOnNextLine(std::string_view line) {
    return withoutTrailingBlanks(line).ends_with(" _");
}

bool endsWithInlineSubEnd(std::string_view line) {
    std::string_view code = withoutTrailingBlanks(codePart(line));
    if (!code.ends_with("End Sub"))
        return false;
    code.remove_suffix(7);
    code = withoutTrailingBlanks(code);
    return code.ends_with(':');
}

} // namespace faultward

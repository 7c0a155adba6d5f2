#include "rewrite/own_handling.h"

#include "platform/windows_names.h"

namespace faultward {
namespace {

bool isIdentifierCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether text at `at` holds `word` (lower case) in any letter case, as a
// whole word.
bool wordAt(std::string_view text, std::size_t at, std::string_view word) {
    if (at > 0 && isIdentifierCharacter(text[at - 1]))
        return false;
    if (text.size() - at < word.size() ||
        !equalIgnoringAsciiCase(text.substr(at, word.size()), word))
        return false;
    const std::size_t after = at + word.size();
    return after == text.size() || !isIdentifierCharacter(text[after]);
}

// A Rem statement makes the rest of its line a comment.
bool isRemComment(std::string_view code) {
    std::size_t first = 0;
    while (first < code.size() && isBlank(code[first]))
        ++first;
    return wordAt(code, first, "rem");
}

} // namespace

bool holdsOnErrorStatement(std::string_view line) {
    const std::string_view code = codePart(line);
    if (isRemComment(code))
        return false;
    bool inString = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code[i] == '"') {
            inString = !inString;
            continue;
        }
        if (inString || !wordAt(code, i, "on"))
            continue;
        std::size_t next = i + 2;
        if (next == code.size() || !isBlank(code[next]))
            continue;
        while (next < code.size() && isBlank(code[next]))
            ++next;
        // On Local Error is the older spelling of the same statement.
        if (wordAt(code, next, "local")) {
            const std::size_t local = next + 5;
            for (next = local; next < code.size() && isBlank(code[next]);)
                ++next;
            if (next == local)
                continue;
        }
        if (wordAt(code, next, "error"))
            return true;
    }
    return false;
}

} // namespace faultward

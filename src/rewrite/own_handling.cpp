#include "rewrite/own_handling.h"

#include "platform/windows_names.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Whether the line holds "rr" in any letter case, as "Error" does: most
// lines do not, and are passed over without the look for statements. Every
// body line is asked, so 16 bytes are looked at a time.
bool holdsDoubleR(std::string_view line) {
    std::size_t at = 0;
    bool lastWasR = false;
#if defined(__SSE2__)
    const __m128i lowerCase = _mm_set1_epi8(0x20);
    const __m128i r = _mm_set1_epi8('r');
    const auto rAt = [&](std::size_t from) {
        const __m128i bytes = _mm_or_si128(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + from)), lowerCase);
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, r)));
    };
    for (; at + 16 <= line.size(); at += 16) {
        const unsigned isR = rAt(at);
        if ((isR & (isR >> 1)) != 0 || (lastWasR && (isR & 1) != 0))
            return true;
        lastWasR = (isR & 0x8000) != 0;
    }
    // The last 16 bytes, those looked at already among them: a pair found
    // there is the line's all the same.
    if (at > 0 && at < line.size()) {
        const unsigned isR = rAt(line.size() - 16);
        return (isR & (isR >> 1)) != 0;
    }
#endif
    for (; at < line.size(); ++at) {
        const bool isR = (line[at] | 0x20) == 'r';
        if (isR && lastWasR)
            return true;
        lastWasR = isR;
    }
    return false;
}

} // namespace

bool holdsOnErrorStatement(std::string_view line) {
    if (!holdsDoubleR(line))
        return false;
    const std::string_view code = codePart(line);
    if (isRemComment(code))
        return false;
    bool inString = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code[i] == '"') {
            inString = !inString;
            continue;
        }
        if (inString || (code[i] | 0x20) != 'o' || !wordAt(code, i, "on"))
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

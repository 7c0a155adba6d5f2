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

// Whether the line holds "rror" in any letter case, as "Error" does: most
// lines do not, and are passed over without the look for statements. Every
// body line is asked, so 16 places are looked at a time.
bool mayHoldError(std::string_view line) {
    std::size_t at = 0;
#if defined(__SSE2__)
    constexpr std::size_t kRead = 16 + 3; // the bytes 16 places take
    const __m128i lowerCase = _mm_set1_epi8(0x20);
    const auto letterAt = [&](std::size_t from, char letter) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + from));
        return _mm_cmpeq_epi8(_mm_or_si128(bytes, lowerCase), _mm_set1_epi8(letter));
    };
    const auto foundAt = [&](std::size_t from) {
        return _mm_movemask_epi8(_mm_and_si128(
                   _mm_and_si128(letterAt(from, 'r'), letterAt(from + 1, 'r')),
                   _mm_and_si128(letterAt(from + 2, 'o'), letterAt(from + 3, 'r')))) != 0;
    };
    for (; at + kRead <= line.size(); at += 16)
        if (foundAt(at))
            return true;
    // The places left lie within the last kRead bytes; those looked at again
    // are the line's all the same.
    if (at > 0)
        return at + 4 <= line.size() && foundAt(line.size() - kRead);
#endif
    for (; at + 4 <= line.size(); ++at)
        if ((line[at] | 0x20) == 'r' && (line[at + 1] | 0x20) == 'r' &&
            (line[at + 2] | 0x20) == 'o' && (line[at + 3] | 0x20) == 'r')
            return true;
    return false;
}

} // namespace

bool holdsOnErrorStatement(std::string_view line) {
    if (!mayHoldError(line))
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

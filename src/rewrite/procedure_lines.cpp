#include "rewrite/procedure_lines.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace faultward {
namespace {

// What may stand before a keyword at the start of a head line.
constexpr std::array<std::string_view, 5> kHeadModifiers = {
    "", "Friend ", "Static ", "Private ", "Public ",
};

struct Keyword {
    ProcedureKind kind;
    std::string_view word;
};
constexpr std::array<Keyword, 5> kKeywords = {{
    {ProcedureKind::Sub, "Sub"},
    {ProcedureKind::Function, "Function"},
    {ProcedureKind::Property, "Property Get"},
    {ProcedureKind::Property, "Property Let"},
    {ProcedureKind::Property, "Property Set"},
}};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view withoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool canBeginProcedureLine(char c) {
    return c == 'S' || c == 'F' || c == 'P' || c == 'E';
}

#if defined(__x86_64__) || defined(__i386__)
// Skips 32-byte stretches that start no possible procedure line; the walk
// through a file spends most of its time here.
__attribute__((target("avx2"))) std::size_t skipLinesAvx2(const char* bytes, std::size_t i,
                                                          std::size_t size, std::size_t endingSize,
                                                          char terminator) {
    const __m256i ends = _mm256_set1_epi8(terminator);
    for (; i + 32 <= size; i += 32) {
        const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
        const __m256i back =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i - endingSize));
        const __m256i first =
            _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(here, _mm256_set1_epi8('S')),
                                            _mm256_cmpeq_epi8(here, _mm256_set1_epi8('F'))),
                            _mm256_or_si256(_mm256_cmpeq_epi8(here, _mm256_set1_epi8('P')),
                                            _mm256_cmpeq_epi8(here, _mm256_set1_epi8('E'))));
        if (!_mm256_testz_si256(first, _mm256_cmpeq_epi8(back, ends)))
            break;
    }
    return i;
}
#endif

} // namespace

std::size_t nextPossibleProcedureLine(std::string_view content, LineBreaks breaks,
                                      std::size_t from) {
    const std::size_t endingSize = lineEnding(breaks).size();
    const char terminator = breaks == LineBreaks::LineFeed ? '\n' : '\r';
    const char* bytes = content.data();
    const std::size_t size = content.size();
    if (from == 0) {
        if (size > 0 && canBeginProcedureLine(bytes[0]))
            return 0;
        from = 1;
    }
    // A line starts where the byte endingSize back is the terminator: with
    // whole line endings only, a carriage return always has its line feed.
    std::size_t i = std::max(from, endingSize);
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        i = skipLinesAvx2(bytes, i, size, endingSize, terminator);
#endif
#if defined(__SSE2__)
    const __m128i ends = _mm_set1_epi8(terminator);
    const __m128i s = _mm_set1_epi8('S');
    const __m128i f = _mm_set1_epi8('F');
    const __m128i p = _mm_set1_epi8('P');
    const __m128i e = _mm_set1_epi8('E');
    for (; i + 16 <= size; i += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const __m128i back =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i - endingSize));
        const __m128i first =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(here, s), _mm_cmpeq_epi8(here, f)),
                         _mm_or_si128(_mm_cmpeq_epi8(here, p), _mm_cmpeq_epi8(here, e)));
        const int hits = _mm_movemask_epi8(_mm_and_si128(first, _mm_cmpeq_epi8(back, ends)));
        if (hits != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
    }
#endif
    for (; i < size; ++i)
        if (bytes[i - endingSize] == terminator && canBeginProcedureLine(bytes[i]))
            return i;
    return size;
}

std::optional<ProcedureHead> procedureHeadSlow(std::string_view line, ProcedureKinds kinds) {
    // No modifier is also a keyword's beginning, so at most one can stand
    // first, and the keyword after it is known by its first letter: two
    // comparisons where trying every pair took up to twenty-five (most lines
    // starting with P are declarations).
    std::size_t modifier = 0;
    for (std::string_view word : kHeadModifiers)
        if (!word.empty() && line.starts_with(word)) {
            modifier = word.size();
            break;
        }
    const std::string_view rest = line.substr(modifier);
    for (const Keyword& keyword : kKeywords) {
        if (rest.empty() || rest[0] != keyword.word[0] || !kinds.has(keyword.kind))
            continue;
        if (rest.size() > keyword.word.size() && rest.starts_with(keyword.word) &&
            rest[keyword.word.size()] == ' ')
            return ProcedureHead{keyword.kind, keyword.word, modifier + keyword.word.size() + 1};
    }
    return std::nullopt;
}

std::optional<ProcedureHead> indentedProcedureHeadSlow(std::string_view line, std::size_t indent,
                                                       ProcedureKinds kinds) {
    std::optional<ProcedureHead> head = procedureHeadSlow(line.substr(indent), kinds);
    if (head)
        head->nameStart += indent;
    return head;
}

std::string_view procedureNameAt(std::string_view headLine, std::size_t nameStart) {
    // Positions count from 1 in the rule this reproduces.
    const long start = static_cast<long>(nameStart) + 1;
    const std::size_t paren = headLine.find('(');
    const long q = paren == std::string_view::npos ? 0 : static_cast<long>(paren) + 1;
    const long length = std::labs(q - start);
    if (nameStart >= headLine.size())
        return {};
    return headLine.substr(nameStart, static_cast<std::size_t>(length));
}

std::string_view procedureName(std::string_view headLine) {
    const std::size_t sub = headLine.find("Sub ");
    if (sub == std::string_view::npos)
        return {};
    return procedureNameAt(headLine, sub + 4);
}

std::string_view codePart(std::string_view line) {
    // Doubled quotes inside a literal toggle twice, which keeps the state right.
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            inString = !inString;
        else if (line[i] == '\'' && !inString)
            return line.substr(0, i);
    }
    return line;
}

bool continuesOnNextLine(std::string_view line) {
    const std::string_view code = withoutTrailingBlanks(line);
    return code.size() >= 2 && code.back() == '_' && isBlank(code[code.size() - 2]);
}

bool endsWithInlineEnd(std::string_view line, ProcedureKind kind) {
    const std::string_view end = endStatement(kind);
    // Most heads are not one-line procedures; spare them the walk through quotes.
    if (line.find(end) == std::string_view::npos)
        return false;
    std::string_view code = withoutTrailingBlanks(codePart(line));
    if (!code.ends_with(end))
        return false;
    code.remove_suffix(end.size());
    code = withoutTrailingBlanks(code);
    return code.ends_with(':');
}

} // namespace faultward

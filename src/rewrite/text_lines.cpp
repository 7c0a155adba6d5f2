#include "text_lines.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace faultward {

LineBreaks detectLineBreaks(std::string_view content) {
    if (content.find('\r') != std::string_view::npos)
        return LineBreaks::CarriageReturn;
    if (content.find('\n') != std::string_view::npos)
        return LineBreaks::LineFeed;
    return LineBreaks::CarriageReturn;
}

std::string_view lineEnding(LineBreaks breaks) {
    return breaks == LineBreaks::LineFeed ? std::string_view("\n") : std::string_view("\r\n");
}

namespace {

// Whether bytes[i], for some i in [from, last), is a carriage return with no
// line feed after it. bytes[last] must exist.
bool hasLoneCarriageReturn(const char* bytes, std::size_t from, std::size_t last) {
    for (std::size_t i = from; i < last; ++i)
        if (bytes[i] == '\r' && bytes[i + 1] != '\n')
            return true;
    return false;
}

#if defined(__x86_64__) || defined(__i386__)
// Each line costs a few bytes of this scan, and it reads the whole of every
// file the removal pass opens, so it is worth the wider registers where the
// processor has them.
__attribute__((target("avx2"))) bool hasLoneCarriageReturnAvx2(const char* bytes,
                                                                std::size_t last) {
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    __m256i lone = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 32 < last; i += 32) {
        const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
        const __m256i after = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i + 1));
        lone = _mm256_or_si256(lone, _mm256_andnot_si256(_mm256_cmpeq_epi8(after, lf),
                                                         _mm256_cmpeq_epi8(here, cr)));
    }
    return !_mm256_testz_si256(lone, lone) || hasLoneCarriageReturn(bytes, i, last);
}
#endif

bool hasLoneCarriageReturnSse2(const char* bytes, std::size_t last) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    __m128i lone = _mm_setzero_si128();
    for (; i + 16 < last; i += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + 1));
        lone = _mm_or_si128(lone, _mm_andnot_si128(_mm_cmpeq_epi8(after, lf),
                                                   _mm_cmpeq_epi8(here, cr)));
    }
    if (_mm_movemask_epi8(lone) != 0)
        return true;
#endif
    return hasLoneCarriageReturn(bytes, i, last);
}

} // namespace

bool isCanonical(std::string_view content, LineBreaks breaks) {
    if (content.empty())
        return true;
    if (breaks == LineBreaks::LineFeed)
        return content.back() == '\n';
    if (content.size() < 2 || content[content.size() - 2] != '\r' || content.back() != '\n')
        return false;
    const std::size_t last = content.size() - 1; // the final CR LF is known good
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        return !hasLoneCarriageReturnAvx2(content.data(), last);
#endif
    return !hasLoneCarriageReturnSse2(content.data(), last);
}

LineCursor::LineCursor(std::string_view content, LineBreaks breaks)
    : data_(content.data()), size_(content.size()),
      terminator_(breaks == LineBreaks::LineFeed ? '\n' : '\r'),
      carriageReturns_(breaks == LineBreaks::CarriageReturn) {
    if (size_ > 0)
        loadBlock();
}

} // namespace faultward

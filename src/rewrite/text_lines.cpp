#include "rewrite/text_lines.h"

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

namespace {

// What a scan of bytes [from, last) finds: whether a carriage return there has
// no line feed after it, and how many carriage returns there are. bytes[last]
// must exist.
struct CarriageReturns {
    bool lone = false;
    std::size_t count = 0;
};

void scanBytewise(const char* bytes, std::size_t from, std::size_t last, CarriageReturns& found) {
    for (std::size_t i = from; i < last; ++i) {
        if (bytes[i] != '\r')
            continue;
        ++found.count;
        found.lone |= bytes[i + 1] != '\n';
    }
}

// Both scans keep a count per byte lane, which holds 255 at most, so they add
// the lanes up after that many steps at the latest.
constexpr std::size_t kStepsPerSum = 255;

#if defined(__x86_64__) || defined(__i386__)
// This scan reads the whole of every file a pass opens, so it is worth the
// wider registers where the processor has them.
__attribute__((target("avx2"))) CarriageReturns scanAvx2(const char* bytes, std::size_t last) {
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    __m256i lone = _mm256_setzero_si256();
    CarriageReturns found;
    std::size_t i = 0;
    while (i + 32 < last) {
        __m256i lanes = _mm256_setzero_si256();
        for (std::size_t step = 0; step < kStepsPerSum && i + 32 < last; ++step, i += 32) {
            const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
            const __m256i after =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i + 1));
            const __m256i isCr = _mm256_cmpeq_epi8(here, cr);
            lone = _mm256_or_si256(lone, _mm256_andnot_si256(_mm256_cmpeq_epi8(after, lf), isCr));
            lanes = _mm256_sub_epi8(lanes, isCr);
        }
        const __m256i sums = _mm256_sad_epu8(lanes, _mm256_setzero_si256());
        found.count +=
            static_cast<std::size_t>(_mm256_extract_epi64(sums, 0) + _mm256_extract_epi64(sums, 1) +
                                     _mm256_extract_epi64(sums, 2) + _mm256_extract_epi64(sums, 3));
    }
    found.lone = !_mm256_testz_si256(lone, lone);
    scanBytewise(bytes, i, last, found);
    return found;
}
#endif

CarriageReturns scanSse2(const char* bytes, std::size_t last) {
    CarriageReturns found;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    __m128i lone = _mm_setzero_si128();
    while (i + 16 < last) {
        __m128i lanes = _mm_setzero_si128();
        for (std::size_t step = 0; step < kStepsPerSum && i + 16 < last; ++step, i += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
            const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + 1));
            const __m128i isCr = _mm_cmpeq_epi8(here, cr);
            lone = _mm_or_si128(lone, _mm_andnot_si128(_mm_cmpeq_epi8(after, lf), isCr));
            lanes = _mm_sub_epi8(lanes, isCr);
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        found.count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                       static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
    }
    found.lone = _mm_movemask_epi8(lone) != 0;
#endif
    scanBytewise(bytes, i, last, found);
    return found;
}

} // namespace

std::optional<std::size_t> canonicalLineCount(std::string_view content, LineBreaks breaks) {
    if (content.empty())
        return 0;
    if (breaks == LineBreaks::LineFeed) {
        if (content.back() != '\n')
            return std::nullopt;
        return countByte(content, '\n');
    }
    if (!content.ends_with("\r\n"))
        return std::nullopt;
    const std::size_t last = content.size() - 1; // the final line feed needs no look
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    const CarriageReturns found =
        avx2 ? scanAvx2(content.data(), last) : scanSse2(content.data(), last);
#else
    const CarriageReturns found = scanSse2(content.data(), last);
#endif
    if (found.lone)
        return std::nullopt;
    return found.count;
}

bool isCanonical(std::string_view content, LineBreaks breaks) {
    return canonicalLineCount(content, breaks).has_value();
}

std::size_t countByte(std::string_view content, char byte) {
    const char* bytes = content.data();
    std::size_t count = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(byte);
    while (i + 16 <= content.size()) {
        __m128i lanes = _mm_setzero_si128();
        const std::size_t steps = std::min(kStepsPerSum, (content.size() - i) / 16);
        for (std::size_t step = 0; step < steps; ++step, i += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(chunk, wanted));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
    }
#endif
    for (; i < content.size(); ++i)
        count += bytes[i] == byte;
    return count;
}

LineCursor::LineCursor(std::string_view content, LineBreaks breaks)
    : data_(content.data()), size_(content.size()),
      terminator_(breaks == LineBreaks::LineFeed ? '\n' : '\r'),
      carriageReturns_(breaks == LineBreaks::CarriageReturn) {
    if (size_ > 0)
        loadBlock();
}

} // namespace faultward

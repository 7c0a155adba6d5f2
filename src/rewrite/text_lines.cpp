#include "text_lines.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
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

bool isCanonical(std::string_view content, LineBreaks breaks) {
    if (content.empty())
        return true;
    if (breaks == LineBreaks::LineFeed)
        return content.back() == '\n';
    if (content.size() < 2 || content[content.size() - 2] != '\r' || content.back() != '\n')
        return false;
    // Look for a carriage return not followed by a line feed, 16 bytes at a time.
    const char* bytes = content.data();
    const std::size_t last = content.size() - 1; // the final CR LF is known good
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
        return false;
#endif
    for (; i < last; ++i)
        if (bytes[i] == '\r' && bytes[i + 1] != '\n')
            return false;
    return true;
}

LineCursor::LineCursor(std::string_view content, LineBreaks breaks)
    : data_(content.data()), size_(content.size()),
      terminator_(breaks == LineBreaks::LineFeed ? '\n' : '\r'),
      carriageReturns_(breaks == LineBreaks::CarriageReturn) {
    if (size_ > 0)
        loadBlock();
}

} // namespace faultward

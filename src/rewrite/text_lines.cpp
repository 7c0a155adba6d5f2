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

void LineCursor::loadBlock() {
    const std::size_t count = std::min<std::size_t>(64, size_ - blockBase_);
    const char* block = data_ + blockBase_;
    std::uint64_t mask = 0;
#if defined(__SSE2__)
    if (count == 64) {
        const __m128i wanted = _mm_set1_epi8(terminator_);
        for (int part = 0; part < 4; ++part) {
            const __m128i bytes =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
            const auto bits =
                static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
            mask |= static_cast<std::uint64_t>(bits) << (16 * part);
        }
        mask_ = mask;
        return;
    }
#endif
    for (std::size_t i = 0; i < count; ++i)
        mask |= static_cast<std::uint64_t>(block[i] == terminator_) << i;
    mask_ = mask;
}

bool LineCursor::next(std::string_view& line) {
    if (pos_ >= size_)
        return false;
    // Drop terminators before the line start (the skipped LF of a CR LF never
    // sets a bit, but a line may start inside the current block).
    for (;;) {
        while (mask_ != 0) {
            const std::size_t at = blockBase_ + static_cast<std::size_t>(__builtin_ctzll(mask_));
            mask_ &= mask_ - 1;
            if (at < pos_)
                continue;
            line = std::string_view(data_ + pos_, at - pos_);
            std::size_t after = at + 1;
            canonicalEnd_ = true;
            if (carriageReturns_) {
                if (after < size_ && data_[after] == '\n')
                    ++after;
                else
                    canonicalEnd_ = false;
            }
            pos_ = after;
            return true;
        }
        blockBase_ += 64;
        if (blockBase_ >= size_)
            break;
        loadBlock();
    }
    line = std::string_view(data_ + pos_, size_ - pos_);
    pos_ = size_;
    canonicalEnd_ = false;
    return true;
}

} // namespace faultward

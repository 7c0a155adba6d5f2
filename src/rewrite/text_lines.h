#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace faultward {

// How a file's lines are broken. Files from Windows end lines with a carriage
// return (an optional line feed after it is swallowed, a lone line feed is an
// ordinary character). A file with no carriage return at all but with line
// feeds comes from a Unix checkout: its lines end at line feeds and are written
// back with line feeds, so checking it out again does not show every line changed.
enum class LineBreaks { CarriageReturn, LineFeed };

LineBreaks detectLineBreaks(std::string_view content);

// The bytes written after every line of a file with the given line breaks.
// Inline: the passes ask for it at every line they write.
inline std::string_view lineEnding(LineBreaks breaks) {
    return breaks == LineBreaks::LineFeed ? std::string_view("\n") : std::string_view("\r\n");
}

// Whether writing every line back with lineEnding(breaks) gives the same
// bytes: every carriage return is followed by a line feed and the buffer ends
// with a line ending (or is empty). Such buffers can be copied in runs.
bool isCanonical(std::string_view content, LineBreaks breaks);

// The number of lines of a buffer that isCanonical(), otherwise nothing. One
// scan finds both.
std::optional<std::size_t> canonicalLineCount(std::string_view content, LineBreaks breaks);

// How many times the byte occurs in the buffer.
std::size_t countByte(std::string_view content, char byte);

// Walks the lines of a buffer without copying them. The last line needs no
// terminator; an empty buffer has no lines. Terminators are found 64 bytes at a
// time and kept as a bit mask, since most lines are short and a search call
// per line would cost more than the line itself.
class LineCursor {
public:
    LineCursor(std::string_view content, LineBreaks breaks);
    explicit LineCursor(std::string_view content)
        : LineCursor(content, detectLineBreaks(content)) {}

    bool next(std::string_view& line);
    // Whether the line last returned ended with exactly lineEnding(breaks), so
    // that writing it back needs no change.
    bool endedCanonically() const { return canonicalEnd_; }
    // The bytes not yet consumed by next().
    std::string_view remaining() const { return std::string_view(data_ + pos_, size_ - pos_); }

private:
    void loadBlock();

    const char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;       // start of the next line
    std::size_t blockBase_ = 0; // first byte the mask describes
    std::uint64_t mask_ = 0;    // terminators in [blockBase_, blockBase_ + 64) not yet used
    char terminator_;
    bool carriageReturns_;
    bool canonicalEnd_ = true;
};

// Inline: the passes call these once a line and a block, and a call would
// cost more than the work.
inline void LineCursor::loadBlock() {
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

inline bool LineCursor::next(std::string_view& line) {
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

// The first c in [from, to), or to when there is none. The passes look for a
// line's end or the next marker mostly a few dozen bytes ahead, where a
// library call costs more than the search: the first bytes are searched here,
// the rest of a long stretch by memchr.
inline std::size_t findByte(const char* bytes, std::size_t from, std::size_t to, char c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (int step = 0; step < 4 && from + 16 <= to; ++step, from += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from));
        if (const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted)))
            return from + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
    }
#endif
    const void* hit = std::memchr(bytes + from, c, to - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - bytes) : to;
}

// The last c in [from, to), or npos when there is none; the backward twin of
// findByte, for finding where the line around a marker starts. Lines are short,
// so this rarely goes far; the standard library has no backward memchr that
// every system offers.
inline std::size_t findLastByte(const char* bytes, std::size_t from, std::size_t to, char c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (; to >= from + 16; to -= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + to - 16));
        if (const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted))) {
            const auto highest = 31 - __builtin_clz(static_cast<unsigned>(hits));
            return to - 16 + static_cast<std::size_t>(highest);
        }
    }
#endif
    while (to > from) {
        if (bytes[--to] == c)
            return to;
    }
    return std::string_view::npos;
}

// How many blanks (spaces and tabs) the line starts with. The survey and the
// numbering walk ask it of every line; most lines are short and indented by
// a few blanks, found 16 bytes at a time.
inline std::size_t leadingBlanks(std::string_view line) {
    std::size_t at = 0;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    for (; at + 16 <= line.size(); at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + at));
        const auto blanks = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, space), _mm_cmpeq_epi8(bytes, tab))));
        if (blanks != 0xFFFF)
            return at + static_cast<std::size_t>(__builtin_ctz(~blanks));
    }
#endif
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
        ++at;
    return at;
}

// Appends line plus the line ending to out.
inline void appendLine(std::string& out, std::string_view line, std::string_view ending) {
    out.append(line);
    out.append(ending);
}

} // namespace faultward

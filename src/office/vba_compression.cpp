#include "office/vba_compression.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "office/byte_order.h"

namespace faultward::office {
namespace {

constexpr std::size_t kChunkData = 4096;
constexpr std::uint16_t kCompressedChunk = 0xB000; // flag bit and signature 0b011
constexpr std::uint16_t kRawChunk = 0x3000;
// How far past its end a copy of a run may write while decoding.
constexpr std::size_t kCopyOverrun = 8;

// The bits a copy token gives its offset: enough to reach back to the start
// of the chunk, never fewer than four.
unsigned offsetBits(std::size_t difference) {
    return difference <= 16 ? 4u : static_cast<unsigned>(std::bit_width(difference - 1));
}

// Candidates a match looks at, nearest first. Source text repeats short runs
// (indentation) thousands of times in a chunk; past this many the longest
// match hardly grows, and the time would.
constexpr int kCandidateLimit = 512;

class ChunkCompressor {
public:
    explicit ChunkCompressor(std::string_view chunk) : chunk_(chunk) {
        head_.fill(-1);
        previous_.assign(chunk.size(), -1);
    }

    // The chunk's tokens without the header.
    std::string tokens() {
        std::string out;
        std::size_t position = 0;
        while (position < chunk_.size()) {
            const std::size_t flagIndex = out.size();
            out.push_back(0);
            unsigned char flags = 0;
            for (int bit = 0; bit < 8 && position < chunk_.size(); ++bit) {
                const auto [length, offset] = longestMatch(position);
                if (length >= 3) {
                    const unsigned bits = offsetBits(position);
                    const auto token =
                        static_cast<std::uint16_t>(((offset - 1) << (16 - bits)) | (length - 3));
                    appendU16(out, token);
                    flags |= static_cast<unsigned char>(1u << bit);
                    for (std::size_t i = 0; i < length; ++i) {
                        remember(position + i);
                    }
                    position += length;
                } else {
                    out.push_back(chunk_[position]);
                    remember(position);
                    ++position;
                }
            }
            out[flagIndex] = static_cast<char>(flags);
        }
        return out;
    }

private:
    static unsigned hashAt(std::string_view s, std::size_t i) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
        return ((b(0) << 8) ^ (b(1) << 4) ^ b(2)) & 0xFFF;
    }

    // How many bytes from position repeat those from from, up to limit.
    std::size_t commonLength(std::size_t from, std::size_t position, std::size_t limit) const {
        const char* a = chunk_.data() + from;
        const char* b = chunk_.data() + position;
        std::size_t length = 0;
        while (length + 8 <= limit) {
            std::uint64_t x;
            std::uint64_t y;
            std::memcpy(&x, a + length, 8);
            std::memcpy(&y, b + length, 8);
            if (x != y) {
                // Little-endian: the first differing byte is the lowest set one.
                return length + static_cast<std::size_t>(std::countr_zero(x ^ y) / 8);
            }
            length += 8;
        }
        while (length < limit && a[length] == b[length]) {
            ++length;
        }
        return length;
    }

    void remember(std::size_t position) {
        if (position + 3 > chunk_.size()) {
            return;
        }
        const unsigned h = hashAt(chunk_, position);
        previous_[position] = head_[h];
        head_[h] = static_cast<int>(position);
    }

    // The longest run before position that the data from position repeats
    // (runs may overlap position), up to what a token of this position can
    // carry, the nearest of equals.
    std::pair<std::size_t, std::size_t> longestMatch(std::size_t position) const {
        if (position == 0 || position + 3 > chunk_.size()) {
            return {0, 0};
        }
        const std::size_t limit =
            std::min(chunk_.size() - position, std::size_t{(0xFFFFu >> offsetBits(position)) + 3});
        std::size_t bestLength = 0;
        std::size_t bestOffset = 0;
        int candidate = head_[hashAt(chunk_, position)];
        for (int seen = 0; candidate >= 0 && seen < kCandidateLimit;
             ++seen, candidate = previous_[candidate]) {
            const auto from = static_cast<std::size_t>(candidate);
            // A candidate that differs at the best length so far cannot be longer.
            if (bestLength > 0 && bestLength < limit &&
                chunk_[from + bestLength] != chunk_[position + bestLength]) {
                continue;
            }
            const std::size_t length = commonLength(from, position, limit);
            if (length > bestLength) {
                bestLength = length;
                bestOffset = position - from;
                if (length == limit) {
                    break;
                }
            }
        }
        if (bestLength < 3) {
            return {0, 0};
        }
        return {bestLength, bestOffset};
    }

    std::string_view chunk_;
    std::array<int, 4096> head_{};
    std::vector<int> previous_;
};

void appendCompressedChunk(std::string& out, std::string_view chunk) {
    const std::string tokens = ChunkCompressor(chunk).tokens();
    if (tokens.size() <= kChunkData) {
        appendU16(out, static_cast<std::uint16_t>(kCompressedChunk | (tokens.size() + 2 - 3)));
        out += tokens;
    } else if (chunk.size() == kChunkData) {
        appendU16(out, static_cast<std::uint16_t>(kRawChunk | (kChunkData + 2 - 3)));
        out += chunk;
    } else {
        // Half of a chunk grows by at most one flag byte in eight: it fits.
        const std::size_t half = chunk.size() / 2;
        appendCompressedChunk(out, chunk.substr(0, half));
        appendCompressedChunk(out, chunk.substr(half));
    }
}

} // namespace

std::string compressVba(std::string_view data) {
    std::string out(1, '\x01');
    out.reserve(data.size() / 2 + 16);
    for (std::size_t start = 0; start < data.size(); start += kChunkData) {
        appendCompressedChunk(out, data.substr(start, kChunkData));
    }
    return out;
}

std::string decompressVba(std::string_view container) {
    if (container.empty() || container[0] != '\x01') {
        throw FormatError("the compressed container has no signature byte");
    }
    std::string out;
    std::size_t position = 1;
    while (position < container.size()) {
        if (out.size() >= kMaxDecompressedSize) {
            throw FormatError("the compressed container gives more than " +
                              std::to_string(kMaxDecompressedSize >> 20) + " MiB");
        }
        const std::size_t chunkStart = position;
        const std::uint16_t header = readU16(container, position, "a compressed chunk's header");
        if (((header >> 12) & 0x7) != 0x3) {
            throw FormatError("a compressed chunk at byte " + std::to_string(chunkStart) +
                              " has no chunk signature");
        }
        // A chunk cut short would give part of the source as if it were all.
        const std::size_t chunkEnd = chunkStart + (header & 0x0FFF) + 3;
        if (chunkEnd > container.size()) {
            throw FormatError("a compressed chunk at byte " + std::to_string(chunkStart) +
                              " is cut short");
        }
        position += 2;
        if ((header & 0x8000) == 0) {
            requireBytes(container, position, kChunkData, "a raw chunk");
            out.append(container.substr(position, kChunkData));
            position += kChunkData;
            continue;
        }
        // The chunk is decoded into room for its largest size and the
        // copies' overrun, then cut to what it gave.
        const std::size_t start = out.size();
        out.resize(start + kChunkData + kCopyOverrun);
        char* const base = out.data() + start;
        std::size_t made = 0;
        while (position < chunkEnd) {
            const auto flags = static_cast<unsigned char>(container[position++]);
            for (int bit = 0; bit < 8 && position < chunkEnd; ++bit) {
                if ((flags & (1u << bit)) == 0) {
                    if (made == kChunkData) {
                        throw FormatError("a compressed chunk gives more than 4096 bytes");
                    }
                    base[made++] = container[position++];
                    continue;
                }
                if (chunkEnd - position < 2) {
                    throw FormatError("a copy token is cut off at the end of its chunk");
                }
                const std::uint16_t token = readU16(container, position);
                position += 2;
                if (made == 0) {
                    throw FormatError("a copy token reaches before the start of its chunk");
                }
                const unsigned bits = offsetBits(made);
                const std::size_t length = (token & (0xFFFFu >> bits)) + 3;
                const std::size_t offset = (token >> (16 - bits)) + 1;
                if (offset > made) {
                    throw FormatError("a copy token reaches before the start of its chunk");
                }
                if (made + length > kChunkData) {
                    throw FormatError("a compressed chunk gives more than 4096 bytes");
                }
                char* to = base + made;
                const char* from = to - offset;
                if (offset >= 8) {
                    // Eight bytes at a time, each read from before what it
                    // writes; the last may run up to seven bytes past the
                    // run, into the room kept for it.
                    for (std::size_t i = 0; i < length; i += 8) {
                        std::memcpy(to + i, from + i, 8);
                    }
                } else {
                    // The run repeats bytes it is itself making.
                    for (std::size_t i = 0; i < length; ++i) {
                        to[i] = from[i];
                    }
                }
                made += length;
            }
        }
        out.resize(start + made);
    }
    return out;
}

} // namespace faultward::office

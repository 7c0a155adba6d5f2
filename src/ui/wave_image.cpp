#include "ui/wave_image.h"

namespace faultward {
namespace {

constexpr std::uint16_t kPcmFormat = 1;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kFormatSize = 16;

std::uint32_t readLittle(std::string_view bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace

std::optional<WaveLayout> parseWave(std::string_view image) {
    if (image.size() < 12 || image.substr(0, 4) != "RIFF" || image.substr(8, 4) != "WAVE")
        return std::nullopt;

    WaveLayout layout;
    bool haveFormat = false;
    std::size_t at = 12;
    while (image.size() - at >= kChunkHeaderSize) {
        const std::string_view tag = image.substr(at, 4);
        const std::size_t size = readLittle(image, at + 4, 4);
        const std::size_t body = at + kChunkHeaderSize;
        if (size > image.size() - body)
            return std::nullopt;

        if (tag == "fmt ") {
            if (size < kFormatSize || readLittle(image, body, 2) != kPcmFormat)
                return std::nullopt;
            layout.channels = static_cast<std::uint16_t>(readLittle(image, body + 2, 2));
            layout.sampleRate = readLittle(image, body + 4, 4);
            layout.bitsPerSample = static_cast<std::uint16_t>(readLittle(image, body + 14, 2));
            haveFormat = true;
        } else if (tag == "data") {
            if (!haveFormat)
                return std::nullopt;
            layout.dataOffset = body;
            layout.dataSize = size;
            return layout;
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1);
        if (at > image.size())
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace faultward

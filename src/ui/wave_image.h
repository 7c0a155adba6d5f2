#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace faultward {

// Where the samples of an uncompressed RIFF WAVE image lie and how to play them.
struct WaveLayout {
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bitsPerSample = 0;
    std::size_t dataOffset = 0; // first sample byte, counted from the start of the image
    std::size_t dataSize = 0;
};

// Reads the format and data chunks of a PCM wave image, skipping any other
// chunks. Nothing when the image is not PCM or a chunk runs past its end, so a
// damaged image is never read beyond its bytes.
std::optional<WaveLayout> parseWave(std::string_view image);

} // namespace faultward

#include "ui/wave_image.h"

#include <QFile>

#include <gtest/gtest.h>

#include <string>

namespace faultward {
namespace {

std::string resourceBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

TEST(SoundCueResources, clickCue_isMono11025Hz8BitWith3120SampleBytes) {
    const std::string image = resourceBytes(":/ATM_SOUND/11");
    const auto wave = parseWave(image);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->channels, 1);
    EXPECT_EQ(wave->sampleRate, 11025u);
    EXPECT_EQ(wave->bitsPerSample, 8);
    EXPECT_EQ(wave->dataSize, 3120u);
    EXPECT_EQ(image.size(), 3176u);
}

TEST(SoundCueResources, chimeCue_isStereo22050Hz16BitWith66152SampleBytes) {
    const std::string image = resourceBytes(":/ATM_SOUND/12");
    const auto wave = parseWave(image);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->channels, 2);
    EXPECT_EQ(wave->sampleRate, 22050u);
    EXPECT_EQ(wave->bitsPerSample, 16);
    EXPECT_EQ(wave->dataSize, 66152u);
    EXPECT_EQ(image.size(), 66256u);
}

std::string le32(std::uint32_t v) {
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

std::string pcmFormatChunk(std::uint16_t formatTag = 1) {
    std::string body = {char(formatTag), 0, 1, 0};             // format, one channel
    body += le32(8000) + le32(8000) + std::string{1, 0, 8, 0}; // rates, align, bits
    return "fmt " + le32(16) + body;
}

std::string riff(const std::string& chunks) {
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

TEST(WaveImage, skipsUnknownChunksIncludingOddSizedOnes) {
    const std::string image =
        riff(pcmFormatChunk() + "junk" + le32(3) + "abc" + '\0' + "data" + le32(2) + "\x80\x81");
    const auto wave = parseWave(image);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->dataOffset, image.size() - 2);
    EXPECT_EQ(wave->dataSize, 2u);
}

TEST(WaveImage, damagedOrForeignImages_areRefused) {
    const std::string good = riff(pcmFormatChunk() + "data" + le32(2) + "\x80\x81");
    ASSERT_TRUE(parseWave(good));

    // A data chunk claiming more bytes than the image holds.
    EXPECT_FALSE(parseWave(riff(pcmFormatChunk() + "data" + le32(100) + "\x80\x81")));
    // A chunk size so large that adding it would wrap around.
    EXPECT_FALSE(parseWave(riff(pcmFormatChunk() + "junk" + le32(0xFFFFFFFF) + "x")));
    // Compressed samples, samples before their format, no samples, no header.
    EXPECT_FALSE(parseWave(riff(pcmFormatChunk(2) + "data" + le32(2) + "\x80\x81")));
    EXPECT_FALSE(parseWave(riff("data" + le32(2) + "\x80\x81" + pcmFormatChunk())));
    EXPECT_FALSE(parseWave(riff(pcmFormatChunk())));
    EXPECT_FALSE(parseWave(good.substr(0, 11)));
    EXPECT_FALSE(parseWave(""));
}

} // namespace
} // namespace faultward

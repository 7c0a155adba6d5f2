#include "office/vba_compression.h"

#include <gtest/gtest.h>

#include <string>

#include "office/format_error.h"
#include "support/split_mix.h"

namespace faultward::office {
namespace {

std::string bytes(std::initializer_list<unsigned> values) {
    std::string out;
    for (unsigned v : values) {
        out.push_back(static_cast<char>(v));
    }
    return out;
}

// The three examples the format's documentation publishes: an input and the
// bytes its compressor gives for it.
struct PublishedExample {
    const char* name;
    std::string text;
    std::string compressed;
};

std::vector<PublishedExample> publishedExamples() {
    return {
        {"no compression", "abcdefghijklmnopqrstuv.",
         bytes({0x01, 0x19, 0xB0, 0x00, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66,
                0x67, 0x68, 0x00, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
                0x70, 0x00, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x2E})},
        {"normal compression", "#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa",
         bytes({0x01, 0x2F, 0xB0, 0x00, 0x23, 0x61, 0x61, 0x61, 0x62, 0x63, 0x64, 0x65, 0x82,
                0x66, 0x00, 0x70, 0x61, 0x67, 0x68, 0x69, 0x6A, 0x01, 0x38, 0x08, 0x61, 0x6B,
                0x6C, 0x00, 0x20, 0x6D, 0x6E, 0x6F, 0x70, 0x06, 0x71, 0x02, 0x70, 0x04, 0x00,
                0x72, 0x73, 0x74, 0x75, 0x76, 0x10, 0x77, 0x78, 0x79, 0x7A, 0x00, 0x2C})},
        {"maximum compression", std::string(73, 'a'),
         bytes({0x01, 0x03, 0xB0, 0x02, 0x61, 0x45, 0x00})},
    };
}

TEST(VbaCompression, GivesThePublishedExamplesBothWays) {
    for (const auto& example : publishedExamples()) {
        SCOPED_TRACE(example.name);
        EXPECT_EQ(decompressVba(example.compressed), example.text);
        EXPECT_EQ(compressVba(example.text), example.compressed);
    }
}

std::string randomText(testing::SplitMix64& random, std::size_t size, int alphabet) {
    static const std::string words[] = {"Dim ", "As Long", "\r\n",      "    ",         "End Sub",
                                        "If ",  " Then",   "x = x + 1", "'~Faultward~", "Erl"};
    std::string out;
    while (out.size() < size) {
        if (random.below(3) == 0) {
            out += words[random.below(std::size(words))];
        } else {
            out.push_back(static_cast<char>(random.below(static_cast<std::size_t>(alphabet))));
        }
    }
    out.resize(size);
    return out;
}

// Sizes around the chunk boundaries, text that compresses and bytes that
// do not (which takes raw chunks, and the split of a short last chunk).
TEST(VbaCompression, RoundTripsRandomDataOfEverySizeAroundChunks) {
    testing::SplitMix64 random(39);
    for (std::size_t size :
         {0u, 1u, 2u, 3u, 4095u, 4096u, 4097u, 8191u, 8192u, 8193u, 20000u, 3700u, 4000u}) {
        for (int alphabet : {4, 90, 256}) {
            SCOPED_TRACE(std::to_string(size) + " bytes over " + std::to_string(alphabet));
            const std::string text = randomText(random, size, alphabet);
            const std::string compressed = compressVba(text);
            ASSERT_EQ(decompressVba(compressed), text);
        }
    }
}

// Source text repeats whole lines and long runs of spaces: matches that
// reach the most a token carries, copies that overlap what they make, and
// lines that differ a few bytes in.
TEST(VbaCompression, RoundTripsSourceTextWithLongAndOverlappingRepeats) {
    std::string text = "Attribute VB_Name = \"Module1\"\r\n" + std::string(5000, ' ');
    for (int line = 0; line < 700; ++line) {
        text += "    Total = Total + Cells(" + std::to_string(line % 37) + ", 2).Value\r\n";
        if (line % 50 == 0) {
            text += std::string(static_cast<std::size_t>(line % 300), ' ') + "'\r\n";
        }
    }
    const std::string compressed = compressVba(text);
    EXPECT_EQ(decompressVba(compressed), text);
    EXPECT_LT(compressed.size(), text.size() / 4);
}

TEST(VbaCompression, StoresAFullIncompressibleChunkRawAndAShortOneUnpadded) {
    testing::SplitMix64 random(7);
    std::string noise(4096 + 4000, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random.below(256));
    }
    const std::string compressed = compressVba(noise);
    // The first chunk raw: its header says so and its bytes follow as they are.
    EXPECT_EQ(compressed.substr(1, 2), bytes({0xFF, 0x3F}));
    EXPECT_EQ(compressed.substr(3, 4096), noise.substr(0, 4096));
    EXPECT_EQ(decompressVba(compressed), noise);
}

TEST(VbaCompression, RefusesDamagedContainers) {
    const std::string good = publishedExamples()[1].compressed;
    struct Case {
        const char* name;
        std::string container;
    } cases[] = {
        {"empty", ""},
        {"no signature byte", "\x02" + good.substr(1)},
        {"chunk signature missing", bytes({0x01, 0x19, 0x80, 0x00, 0x61})},
        {"raw chunk cut short", bytes({0x01, 0xFF, 0x3F, 0x61, 0x62})},
        {"header cut short", bytes({0x01, 0x19})},
        {"chunk cut short", good.substr(0, good.size() - 3)},
        // A copy token as the chunk's first token has nothing to copy.
        {"copy before any byte", bytes({0x01, 0x02, 0xB0, 0x01, 0x00, 0x00})},
        // At the second byte the offset has 4 bits: offset 3 reaches before it.
        {"copy reaching back too far", bytes({0x01, 0x03, 0xB0, 0x02, 0x61, 0x00, 0x20})},
        {"copy token cut off", bytes({0x01, 0x02, 0xB0, 0x02, 0x61, 0x00})},
        // 0x0FFF with 4 offset bits copies 4098 bytes: past the chunk's 4096.
        {"chunk over 4096 bytes", bytes({0x01, 0x03, 0xB0, 0x02, 0x61, 0xFF, 0x0F})},
        // A copy fills the chunk to 4096 bytes; a literal after it is one too many.
        {"literal past 4096 bytes", bytes({0x01, 0x04, 0xB0, 0x02, 0x61, 0xFC, 0x0F, 0x62})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(decompressVba(c.container), FormatError);
    }
}

// Seven bytes of chunk give 4096 of data: a hostile container stops at the
// limit rather than filling memory.
TEST(VbaCompression, StopsAContainerThatWouldGiveMoreThanItsLimit) {
    const std::string chunk = bytes({0x03, 0xB0, 0x02, 0x61, 0xFC, 0x0F});
    std::string container(1, '\x01');
    for (std::size_t given = 0; given <= kMaxDecompressedSize; given += 4096) {
        container += chunk;
    }
    EXPECT_THROW(decompressVba(container), FormatError);
}

} // namespace
} // namespace faultward::office

#include "rewrite/text_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace faultward {
namespace {

// The line rule spelled out byte by byte, to check the block-wise scanner.
std::vector<std::string> naiveLines(const std::string& text, LineBreaks breaks) {
    std::vector<std::string> lines;
    const char terminator = breaks == LineBreaks::LineFeed ? '\n' : '\r';
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != terminator) {
            current += text[i];
            continue;
        }
        lines.push_back(current);
        current.clear();
        if (breaks == LineBreaks::CarriageReturn && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    if (!text.empty() && (text.back() != terminator || lines.empty()) && !current.empty())
        lines.push_back(current);
    return lines;
}

bool naiveCanonical(const std::string& text, LineBreaks breaks) {
    std::string rebuilt;
    for (const std::string& line : naiveLines(text, breaks))
        rebuilt += line + std::string(lineEnding(breaks));
    return rebuilt == text;
}

TEST(LineCursor, matchesTheByteRuleOnRandomText) {
    std::mt19937 random(12345);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\0', '\xe9', ' '};
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 200, 'x');
        for (char& c : text)
            c = alphabet[random() % sizeof(alphabet)];
        for (LineBreaks breaks : {LineBreaks::CarriageReturn, LineBreaks::LineFeed}) {
            LineCursor cursor(text, breaks);
            std::vector<std::string> lines;
            std::string_view line;
            while (cursor.next(line))
                lines.emplace_back(line);
            ASSERT_EQ(lines, naiveLines(text, breaks)) << round;
            ASSERT_EQ(isCanonical(text, breaks), naiveCanonical(text, breaks)) << round;
            if (naiveCanonical(text, breaks))
                ASSERT_EQ(canonicalLineCount(text, breaks), lines.size()) << round;
            else
                ASSERT_EQ(canonicalLineCount(text, breaks), std::nullopt) << round;
        }
    }
}

TEST(LineCursor, loneCarriageReturnFoundAtEveryOffset) {
    for (std::size_t at = 0; at < 70; ++at) {
        std::string text;
        for (int i = 0; i < 10; ++i)
            text += "abcdef\r\n";
        text[at] = '\r';
        EXPECT_EQ(isCanonical(text, LineBreaks::CarriageReturn),
                  naiveCanonical(text, LineBreaks::CarriageReturn))
            << at;
    }
}

// Long enough for the counts kept per vector lane to be added up many times.
TEST(LineCursor, countsLinesOfLargeBuffers) {
    std::mt19937 random(99);
    std::string text;
    std::size_t lines = 0;
    while (text.size() < 300000) {
        text.append(random() % 40, 'x');
        text += "\r\n";
        ++lines;
    }
    EXPECT_EQ(canonicalLineCount(text, LineBreaks::CarriageReturn), lines);
    EXPECT_EQ(countByte(text, '\n'), lines);
    text[text.size() / 2] = '\r';
    text[text.size() / 2 + 1] = 'x';
    EXPECT_EQ(canonicalLineCount(text, LineBreaks::CarriageReturn), std::nullopt);
}

TEST(LineBreaks, detectedFromAnyCarriageReturn) {
    EXPECT_EQ(detectLineBreaks("a\nb\n"), LineBreaks::LineFeed);
    EXPECT_EQ(detectLineBreaks("a\nb\r"), LineBreaks::CarriageReturn);
    EXPECT_EQ(detectLineBreaks("ab"), LineBreaks::CarriageReturn);
}

// The searches switch from their own steps to the library after 64 bytes; a
// slip in either part shows as a wrong position at some distance.
TEST(ByteSearch, findsFirstAndLastAtEveryDistance) {
    std::string text(200, 'a');
    for (std::size_t target : {0u, 15u, 16u, 17u, 63u, 64u, 65u, 80u, 130u, 199u})
        text[target] = '~';
    for (std::size_t from = 0; from <= text.size(); ++from) {
        for (std::size_t to = from; to <= text.size(); to += 7) {
            const std::string_view range = std::string_view(text).substr(from, to - from);
            const std::size_t first = range.find('~');
            const std::size_t last = range.rfind('~');
            EXPECT_EQ(findByte(text.data(), from, to, '~'), first == range.npos ? to : from + first)
                << from << ".." << to;
            EXPECT_EQ(findLastByte(text.data(), from, to, '~'),
                      last == range.npos ? std::string_view::npos : from + last)
                << from << ".." << to;
        }
    }
    // Begun past the end, as one byte into an empty text.
    EXPECT_EQ(findByte(text.data(), 1, 0, '~'), 0u);
}

} // namespace
} // namespace faultward

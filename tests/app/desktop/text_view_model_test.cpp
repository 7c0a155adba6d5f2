#include "app/desktop/text_view_model.h"

#include <gtest/gtest.h>

#include <string>

namespace faultward {
namespace {

struct Model {
    explicit Model(std::string bytes, CharacterShape shape = CharacterShape::singleByte())
        : text(std::move(bytes)), lines(ReportLines::ofReport(text)), view(text, lines, shape) {}
    std::string text;
    ReportLines lines;
    TextViewModel view;
};

constexpr std::string_view kCrLf = "\r\n";

TextPosition at(std::size_t line, std::size_t offset) {
    return {line, offset};
}

TEST(TextViewModel, arrowsCrossLineEnds_shiftSelects_andTheClipboardGetsCrLfLines) {
    Model model("first\r\nsecond line\nx");
    TextViewModel& view = model.view;
    view.move(Motion::LineEnd, false, 0);
    view.move(Motion::Right, false, 0);
    EXPECT_EQ(view.caret(), at(1, 0));
    view.move(Motion::Left, false, 0);
    EXPECT_EQ(view.caret(), at(0, 5));
    view.move(Motion::Left, true, 0);
    view.move(Motion::Down, true, 0);
    view.move(Motion::Down, true, 0);
    EXPECT_EQ(view.caret(), at(2, 1)); // the last line is shorter
    EXPECT_EQ(view.anchor(), at(0, 5));
    EXPECT_EQ(view.selectedText(kCrLf), "\r\nsecond line\r\nx");
    // Left without Shift ends the selection at its start.
    view.move(Motion::Left, false, 0);
    EXPECT_EQ(view.caret(), at(0, 5));
    EXPECT_FALSE(view.hasSelection());

    view.selectAll();
    EXPECT_EQ(view.selectedText(kCrLf), "first\r\nsecond line\r\nx");
    EXPECT_EQ(view.wholeText(kCrLf), view.selectedText(kCrLf));
    view.move(Motion::TextEnd, false, 0);
    view.move(Motion::TextStart, true, 0);
    EXPECT_EQ(view.selectedText(kCrLf), view.wholeText(kCrLf));
    view.move(Motion::TextEnd, false, 0);
    EXPECT_EQ(view.caret(), at(2, 1));
}

TEST(TextViewModel, upAndDownKeepTheColumn_pagesStopAtTheEnds) {
    Model model("0123456789\nab\n0123456789\n3\n4\n5");
    TextViewModel& view = model.view;
    view.placeCaret(at(0, 8), false);
    view.move(Motion::Down, false, 0);
    EXPECT_EQ(view.caret(), at(1, 2));
    view.move(Motion::Down, false, 0);
    EXPECT_EQ(view.caret(), at(2, 8));
    view.move(Motion::PageDown, false, 2);
    EXPECT_EQ(view.caret(), at(4, 1));
    view.move(Motion::PageDown, false, 2);
    EXPECT_EQ(view.caret(), at(5, 1));
    view.move(Motion::PageUp, false, 10);
    EXPECT_EQ(view.caret(), at(0, 8));
    view.move(Motion::Up, false, 0);
    EXPECT_EQ(view.caret(), at(0, 8));
}

TEST(TextViewModel, wordsLeftAndRight_aDoubleClickTakesTheRunItFalls) {
    Model model("  Dim x_1 = a.b\n\n\xC3\xA9t\xC3\xA9 == 1");
    TextViewModel& view = model.view;
    std::vector<std::size_t> stops;
    for (int i = 0; i < 8; ++i) {
        view.move(Motion::WordRight, false, 0);
        stops.push_back(view.caret().line * 100 + view.caret().offset);
    }
    EXPECT_EQ(stops, (std::vector<std::size_t>{2, 6, 10, 12, 13, 14, 15, 100}));
    view.move(Motion::WordLeft, false, 0);
    EXPECT_EQ(view.caret(), at(0, 15));
    view.move(Motion::WordLeft, false, 0);
    EXPECT_EQ(view.caret(), at(0, 14));
    view.placeCaret(at(0, 6), false);
    view.move(Motion::WordLeft, true, 0);
    EXPECT_EQ(view.selectedText(kCrLf), "Dim ");

    const auto doubleClicked = [&view](TextPosition position) {
        view.selectRunAt(position);
        return view.selectedText(kCrLf);
    };
    EXPECT_EQ(doubleClicked(at(0, 7)), "x_1");
    EXPECT_EQ(view.caret(), at(0, 9));
    EXPECT_EQ(doubleClicked(at(0, 0)), "  ");
    EXPECT_EQ(doubleClicked(at(0, 13)), ".");
    EXPECT_EQ(doubleClicked(at(0, 99)), "b"); // past the end: the run before it
    EXPECT_EQ(doubleClicked(at(1, 0)), "");
    EXPECT_EQ(view.caret(), at(1, 0));
    EXPECT_EQ(doubleClicked(at(2, 3)), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(doubleClicked(at(2, 7)), "==");
}

TEST(TextViewModel, tabsTakeCellsToTheNextStop_clicksGoToTheNearerEdge) {
    Model model("a\tb\n\t\t|\nplain");
    const TextViewModel& view = model.view;
    EXPECT_EQ(view.cellOf(at(0, 2)), 8u);
    EXPECT_EQ(view.cellOf(at(1, 2)), 16u);
    EXPECT_EQ(view.widestCells(), 17u);
    EXPECT_EQ(view.positionAt(0, 4), at(0, 1));
    EXPECT_EQ(view.positionAt(0, 5), at(0, 2));
    EXPECT_EQ(view.positionAt(0, 99), at(0, 3));
    EXPECT_EQ(view.positionAt(99, 2), at(2, 2));
    EXPECT_EQ(view.shownCells(0, 0, 10), "a       b");
    EXPECT_EQ(view.shownCells(1, 14, 4), "  |");
    EXPECT_EQ(view.shownCells(2, 1, 3), "lai");
}

TEST(TextViewModel, aSelectionsCellsTakeOneMoreForEachBreakWithin) {
    Model model("a\tb\n\nplain");
    TextViewModel& view = model.view;
    using Cells = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(view.selectedCells(0), Cells(0, 0));
    view.placeCaret(at(0, 1), false);
    view.placeCaret(at(2, 2), true);
    EXPECT_EQ(view.selectedCells(0), Cells(1, 10));
    EXPECT_EQ(view.selectedCells(1), Cells(0, 1));
    EXPECT_EQ(view.selectedCells(2), Cells(0, 2));
    view.placeCaret(at(0, 2), true); // back over the line ends
    EXPECT_EQ(view.selectedCells(0), Cells(1, 8));
    EXPECT_EQ(view.selectedCells(1), Cells(0, 0));
}

TEST(TextViewModel, aDoubleByteCharacterIsNeverSplit) {
    std::array<bool, 256> leads{};
    leads[0x82] = true;
    // "a", a two-byte character, "b".
    Model model("a\x82\xa0"
                "b",
                CharacterShape::doubleByte(leads));
    TextViewModel& view = model.view;
    view.move(Motion::Right, false, 0);
    view.move(Motion::Right, true, 0);
    EXPECT_EQ(view.caret(), at(0, 3));
    EXPECT_EQ(view.selectedText(kCrLf), "\x82\xa0");
    view.move(Motion::Right, false, 0);
    view.move(Motion::Left, false, 0);
    EXPECT_EQ(view.caret(), at(0, 1));
    view.placeCaret(at(0, 2), false);
    EXPECT_EQ(view.caret(), at(0, 1));
    EXPECT_EQ(view.cellOf(at(0, 3)), 3u);
    EXPECT_EQ(view.shownCells(0, 0, 2), "a ");
    EXPECT_EQ(view.shownCells(0, 1, 3), "\x82\xa0"
                                        "b");

    Model utf8("\xc3\xa9t\xc3\xa9", CharacterShape::utf8());
    EXPECT_EQ(utf8.view.widestCells(), 3u);
    EXPECT_EQ(utf8.view.positionAt(0, 1), at(0, 2));
}

TEST(TextViewModel, textOffsetsCountUtf16UnitsAndOneForEachBreak_andComeBack) {
    // "é", a four-byte character (two units), "x"; then an empty line and "ab".
    Model utf8("\xc3\xa9\xf0\x9f\x98\x80x\r\n\nab", CharacterShape::utf8());
    const TextViewModel& view = utf8.view;
    EXPECT_EQ(view.textLength(), 4u + 1 + 0 + 1 + 2);
    EXPECT_EQ(view.textOffsetOf(at(0, 2)), 1u);
    EXPECT_EQ(view.textOffsetOf(at(0, 6)), 3u);
    EXPECT_EQ(view.textOffsetOf(at(0, 7)), 4u);
    EXPECT_EQ(view.textOffsetOf(at(1, 0)), 5u);
    EXPECT_EQ(view.textOffsetOf(at(2, 1)), 7u);
    for (std::size_t offset = 0; offset <= view.textLength(); ++offset) {
        const TextPosition position = view.positionAtTextOffset(offset);
        // Halfway into the pair of units, the character's start.
        EXPECT_EQ(view.textOffsetOf(position), offset == 2 ? 1 : offset) << offset;
    }
    EXPECT_EQ(view.positionAtTextOffset(4), at(0, 7)); // the end of the line, before its break
    EXPECT_EQ(view.positionAtTextOffset(99), at(2, 2));
    EXPECT_EQ(view.textBetween(at(0, 2), at(2, 1), "\n"), "\xf0\x9f\x98\x80x\n\na");
    EXPECT_EQ(view.textBetween(at(2, 1), at(0, 2), "\n"), "");

    Model bytes("a\r\nbc\rd", CharacterShape::singleByte());
    EXPECT_EQ(bytes.view.textLength(), 6u);
    EXPECT_EQ(bytes.view.positionAtTextOffset(4), at(1, 2));
    EXPECT_EQ(bytes.view.positionAtTextOffset(5), at(2, 0));
    EXPECT_EQ(bytes.view.wholeText("\n"), "a\nbc\nd");
}

TEST(TextViewModel, linesWithNoneAreOneEmptyLine) {
    const ReportLines none;
    const TextViewModel view("ignored", none, CharacterShape::singleByte());
    EXPECT_EQ(view.lineCount(), 1u);
    EXPECT_TRUE(view.empty());
    EXPECT_EQ(view.textLength(), 0u);
    EXPECT_EQ(view.wholeText(kCrLf), "");
    EXPECT_FALSE(Model("\n").view.empty());
}

TEST(TextKeys, controlMakesLeftAndRightGoByWordsAndHomeAndEndToTheTextsEnds_pagesTurn) {
    EXPECT_EQ(motionOf(TextKey::Left, false), Motion::Left);
    EXPECT_EQ(motionOf(TextKey::Left, true), Motion::WordLeft);
    EXPECT_EQ(motionOf(TextKey::Right, true), Motion::WordRight);
    EXPECT_EQ(motionOf(TextKey::Up, true), Motion::Up);
    EXPECT_EQ(motionOf(TextKey::PageDown, true), Motion::PageDown);
    EXPECT_EQ(motionOf(TextKey::Home, false), Motion::LineStart);
    EXPECT_EQ(motionOf(TextKey::Home, true), Motion::TextStart);
    EXPECT_EQ(motionOf(TextKey::End, true), Motion::TextEnd);
    EXPECT_EQ(firstLineAfter(Motion::PageDown, 5, 10), 15u);
    EXPECT_EQ(firstLineAfter(Motion::PageUp, 5, 10), 0u);
    EXPECT_EQ(firstLineAfter(Motion::Down, 5, 10), 5u);
}

TEST(ScrolledToShow, movesNoFurtherThanNeeded) {
    EXPECT_EQ(scrolledToShow(5, 0, 10), 0u);
    EXPECT_EQ(scrolledToShow(12, 0, 10), 3u);
    EXPECT_EQ(scrolledToShow(2, 5, 10), 2u);
    EXPECT_EQ(scrolledToShow(7, 3, 0), 3u);
}

} // namespace
} // namespace faultward

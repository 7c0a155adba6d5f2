#pragma once

#include "app/reports/report_lines.h"

#include <algorithm>
#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace faultward {

// How the bytes of a code page make characters, and how many cells of a
// fixed-width font each takes: in a single-byte code page every byte is a
// character of one cell; in a double-byte one a lead byte and the byte after
// it are one character of two cells; in UTF-8 a sequence is one character of
// one cell. A tab takes the cells up to the next multiple of eight.
// A text interface counts in UTF-16 units: one a character, but two for a
// UTF-8 sequence of four bytes.
struct CharacterShape {
    std::array<std::uint8_t, 256> length{}; // bytes of a character that starts with this byte
    std::array<std::uint8_t, 256> cells{};  // its cells
    std::array<std::uint8_t, 256> units{};  // its UTF-16 units

    static CharacterShape singleByte();
    static CharacterShape doubleByte(const std::array<bool, 256>& leadBytes);
    static CharacterShape utf8();
};

inline constexpr std::size_t kTabCells = 8;

// A place between two characters: the line, and the bytes before it in that
// line.
struct TextPosition {
    std::size_t line = 0;
    std::size_t offset = 0;
    friend auto operator<=>(const TextPosition&, const TextPosition&) = default;
};

// The keys that move the caret in a read-only text view, whatever the
// toolkit calls them.
enum class TextKey { Left, Right, Up, Down, PageUp, PageDown, Home, End };

enum class Motion {
    Left,
    Right,
    WordLeft,
    WordRight,
    Up,
    Down,
    PageUp,
    PageDown,
    LineStart,
    LineEnd,
    TextStart,
    TextEnd,
};

// The motion of a key, with Control held or not: Control makes Left and
// Right go by words and Home and End to the text's ends.
Motion motionOf(TextKey key, bool control);

// The first line in sight after a page key, which turns the page (the caret
// goes with it); other motions leave it.
std::size_t firstLineAfter(Motion motion, std::size_t firstLine, std::size_t pageLines);

// The caret, the selection and the cells of a read-only text view, without
// any window: the text's bytes and lines belong to the caller and outlive
// the model. Positions always fall between whole characters. Lines that
// hold none (ReportLines{}) are taken as one empty line: a text has a line
// at least.
class TextViewModel {
public:
    TextViewModel(std::string_view text, const ReportLines& lines, CharacterShape shape);

    std::size_t lineCount() const { return lines_.size(); }
    std::string_view lineText(std::size_t line) const { return lines_.text(text_, line); }
    ReportLineKind kindOf(std::size_t line) const { return lines_[line].kind; }
    // The cells of the widest line, found once.
    std::size_t widestCells() const { return widest_; }
    const CharacterShape& shape() const { return shape_; }
    // Nothing but one empty line.
    bool empty() const { return lines_.size() == 1 && lines_[0].length == 0; }

    TextPosition caret() const { return caret_; }
    TextPosition anchor() const { return anchor_; }
    bool hasSelection() const { return caret_ != anchor_; }
    // The selection from its first position to its last.
    TextPosition selectionStart() const { return std::min(caret_, anchor_); }
    TextPosition selectionEnd() const { return std::max(caret_, anchor_); }

    // Moves the caret; with extend the anchor stays, and the selection
    // grows or shrinks, else the selection goes. pageLines is the number of
    // lines a page moves. Up and down keep to the column the caret last
    // went to by other means.
    void move(Motion motion, bool extend, std::size_t pageLines);
    void placeCaret(TextPosition position, bool extend);
    void selectAll();
    // Selects what a double click at a position takes: the word there, or
    // the run of blanks or of other marks; the caret goes to its end.
    void selectRunAt(TextPosition position);

    // The bytes between two positions, the lines joined by lineBreak (CR LF
    // on a Windows clipboard, a line feed in Qt's text).
    std::string textBetween(TextPosition from, TextPosition to, std::string_view lineBreak) const;
    std::string selectedText(std::string_view lineBreak) const;
    std::string wholeText(std::string_view lineBreak) const;

    // Places counted as a text interface counts them: UTF-16 units from the
    // text's start, each line break one unit. The first call indexes the
    // lines, so a text nobody reads this way costs nothing.
    std::size_t textLength() const;
    std::size_t textOffsetOf(TextPosition position) const;
    // The position of an offset (clamped to the text); one inside a
    // character goes to the character's start.
    TextPosition positionAtTextOffset(std::size_t offset) const;

    // The selected cells of a line, [first, second), with one more for its
    // line break when the selection goes on past it; empty when none is.
    std::pair<std::size_t, std::size_t> selectedCells(std::size_t line) const;
    // The cell before which a position lies, counting from the line's start.
    std::size_t cellOf(TextPosition position) const;
    // The position nearest the left edge of a cell of a line (the line
    // clamped to the text); a character cut by the edge goes to whichever
    // of its ends is nearer.
    TextPosition positionAt(std::size_t line, std::size_t cell) const;
    // The bytes a line shows in cells [first, first + count): tabs as spaces,
    // a character cut by either edge as spaces for its cells within them.
    // For a single- or double-byte code page every byte takes one cell.
    std::string shownCells(std::size_t line, std::size_t first, std::size_t count) const;

private:
    std::size_t nextBoundary(std::size_t line, std::size_t offset) const;
    std::size_t previousBoundary(std::size_t line, std::size_t offset) const;
    std::size_t cellsOf(unsigned char lead, std::size_t cell) const;
    TextPosition clamped(TextPosition position) const;
    std::size_t unitsBefore(std::size_t line, std::size_t offset) const;
    const std::vector<std::size_t>& lineOffsets() const;

    std::string_view text_;
    const ReportLines& lines_;
    CharacterShape shape_;
    std::size_t widest_ = 0;
    TextPosition caret_;
    TextPosition anchor_;
    std::size_t goalCell_ = 0;
    bool oneUnitEach_ = true; // every character one byte and one unit
    // Where each line starts in text offsets, and where the text ends;
    // made on first use.
    mutable std::vector<std::size_t> lineOffsets_;
};

// The first line (or column) to show so that target is in sight, moving no
// further than needed from first; visible is how many fit.
std::size_t scrolledToShow(std::size_t target, std::size_t first, std::size_t visible);

} // namespace faultward

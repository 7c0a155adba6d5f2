#include "app/desktop/text_view_model.h"

#include <algorithm>
#include <cstring>

namespace faultward {

CharacterShape CharacterShape::singleByte() {
    CharacterShape shape;
    shape.length.fill(1);
    shape.cells.fill(1);
    shape.units.fill(1);
    return shape;
}

CharacterShape CharacterShape::doubleByte(const std::array<bool, 256>& leadBytes) {
    CharacterShape shape = singleByte();
    for (std::size_t byte = 0; byte < 256; ++byte)
        if (leadBytes[byte])
            shape.length[byte] = shape.cells[byte] = 2;
    return shape;
}

CharacterShape CharacterShape::utf8() {
    CharacterShape shape = singleByte();
    for (std::size_t byte = 0xC2; byte <= 0xF4; ++byte)
        shape.length[byte] = byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
    for (std::size_t byte = 0xF0; byte <= 0xF4; ++byte)
        shape.units[byte] = 2;
    return shape;
}

namespace {

enum class ByteClass { Space, Word, Other };

ByteClass classOf(unsigned char byte) {
    if (byte == ' ' || byte == '\t')
        return ByteClass::Space;
    if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
        (byte >= 'a' && byte <= 'z') || byte == '_' || byte >= 0x80)
        return ByteClass::Word;
    return ByteClass::Other;
}

bool allOnes(const std::array<std::uint8_t, 256>& values) {
    return std::all_of(values.begin(), values.end(), [](auto n) { return n == 1; });
}

const ReportLines& oneEmptyLine() {
    static const ReportLines lines = ReportLines::ofPlainText({});
    return lines;
}

} // namespace

Motion motionOf(TextKey key, bool control) {
    switch (key) {
    case TextKey::Left:
        return control ? Motion::WordLeft : Motion::Left;
    case TextKey::Right:
        return control ? Motion::WordRight : Motion::Right;
    case TextKey::Up:
        return Motion::Up;
    case TextKey::Down:
        return Motion::Down;
    case TextKey::PageUp:
        return Motion::PageUp;
    case TextKey::PageDown:
        return Motion::PageDown;
    case TextKey::Home:
        return control ? Motion::TextStart : Motion::LineStart;
    case TextKey::End:
        return control ? Motion::TextEnd : Motion::LineEnd;
    }
    return Motion::Right;
}

std::size_t firstLineAfter(Motion motion, std::size_t firstLine, std::size_t pageLines) {
    if (motion == Motion::PageUp)
        return firstLine - std::min(firstLine, pageLines);
    if (motion == Motion::PageDown)
        return firstLine + pageLines;
    return firstLine;
}

TextViewModel::TextViewModel(std::string_view text, const ReportLines& lines, CharacterShape shape)
    : text_(lines.size() ? text : std::string_view()),
      lines_(lines.size() ? lines : oneEmptyLine()), shape_(shape),
      oneUnitEach_(allOnes(shape.length) && allOnes(shape.units)) {
    const bool uniform = allOnes(shape_.length) && allOnes(shape_.cells);
    for (std::size_t line = 0; line < lines_.size(); ++line) {
        const std::string_view bytes = lineText(line);
        // Most lines hold no tab, and in most code pages a byte is a cell.
        if (uniform && bytes.find('\t') == std::string_view::npos)
            widest_ = std::max(widest_, bytes.size());
        else
            widest_ = std::max(widest_, cellOf({line, bytes.size()}));
    }
}

std::size_t TextViewModel::cellsOf(unsigned char lead, std::size_t cell) const {
    return lead == '\t' ? kTabCells - cell % kTabCells : shape_.cells[lead];
}

std::size_t TextViewModel::nextBoundary(std::size_t line, std::size_t offset) const {
    const std::string_view bytes = lineText(line);
    if (offset >= bytes.size())
        return bytes.size();
    return std::min(bytes.size(),
                    offset + shape_.length[static_cast<unsigned char>(bytes[offset])]);
}

std::size_t TextViewModel::previousBoundary(std::size_t line, std::size_t offset) const {
    std::size_t boundary = 0;
    for (std::size_t next = 0; next < offset; next = nextBoundary(line, next))
        boundary = next;
    return boundary;
}

TextPosition TextViewModel::clamped(TextPosition position) const {
    position.line = std::min(position.line, lines_.size() - 1);
    const std::size_t length = lines_[position.line].length;
    position.offset = std::min(position.offset, length);
    // A place inside a character moves to its start.
    if (position.offset < length &&
        previousBoundary(position.line, position.offset + 1) != position.offset)
        position.offset = previousBoundary(position.line, position.offset);
    return position;
}

std::pair<std::size_t, std::size_t> TextViewModel::selectedCells(std::size_t line) const {
    const TextPosition start = selectionStart();
    const TextPosition end = selectionEnd();
    if (!hasSelection() || line < start.line || line > end.line)
        return {0, 0};
    const std::size_t from = line == start.line ? cellOf(start) : 0;
    const std::size_t to = line == end.line ? cellOf(end) : cellOf({line, lines_[line].length}) + 1;
    return {from, to};
}

std::size_t TextViewModel::cellOf(TextPosition position) const {
    const std::string_view bytes = lineText(position.line);
    std::size_t cell = 0;
    for (std::size_t at = 0; at < position.offset && at < bytes.size();
         at = nextBoundary(position.line, at))
        cell += cellsOf(static_cast<unsigned char>(bytes[at]), cell);
    return cell;
}

TextPosition TextViewModel::positionAt(std::size_t line, std::size_t cell) const {
    line = std::min(line, lines_.size() - 1);
    const std::string_view bytes = lineText(line);
    std::size_t at = 0, start = 0;
    while (at < bytes.size()) {
        const std::size_t width = cellsOf(static_cast<unsigned char>(bytes[at]), start);
        if (cell < start + width)
            return {line, cell - start <= start + width - cell ? at : nextBoundary(line, at)};
        start += width;
        at = nextBoundary(line, at);
    }
    return {line, bytes.size()};
}

std::string TextViewModel::shownCells(std::size_t line, std::size_t first,
                                      std::size_t count) const {
    const std::string_view bytes = lineText(line);
    const std::size_t last = first + count;
    std::string shown;
    std::size_t cell = 0;
    for (std::size_t at = 0; at < bytes.size() && cell < last;) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const std::size_t next = nextBoundary(line, at);
        const std::size_t width = cellsOf(lead, cell);
        if (cell + width > first) {
            if (lead == '\t' || cell < first || cell + width > last)
                shown.append(std::min(cell + width, last) - std::max(cell, first), ' ');
            else
                shown.append(bytes.substr(at, next - at));
        }
        cell += width;
        at = next;
    }
    return shown;
}

void TextViewModel::move(Motion motion, bool extend, std::size_t pageLines) {
    TextPosition to = caret_;
    const std::size_t lastLine = lines_.size() - 1;
    bool vertical = false;
    const auto lineEnd = [&](std::size_t line) { return TextPosition{line, lines_[line].length}; };
    const auto byteAt = [&](TextPosition at) {
        return static_cast<unsigned char>(lineText(at.line)[at.offset]);
    };
    switch (motion) {
    case Motion::Left:
        if (hasSelection() && !extend)
            to = selectionStart();
        else if (to.offset > 0)
            to.offset = previousBoundary(to.line, to.offset);
        else if (to.line > 0)
            to = lineEnd(to.line - 1);
        break;
    case Motion::Right:
        if (hasSelection() && !extend)
            to = selectionEnd();
        else if (to.offset < lines_[to.line].length)
            to.offset = nextBoundary(to.line, to.offset);
        else if (to.line < lastLine)
            to = {to.line + 1, 0};
        break;
    case Motion::WordLeft:
        if (to.offset == 0) {
            if (to.line > 0)
                to = lineEnd(to.line - 1);
            break;
        }
        while (to.offset > 0 &&
               classOf(byteAt({to.line, previousBoundary(to.line, to.offset)})) == ByteClass::Space)
            to.offset = previousBoundary(to.line, to.offset);
        if (to.offset > 0) {
            const ByteClass word = classOf(byteAt({to.line, previousBoundary(to.line, to.offset)}));
            while (to.offset > 0 &&
                   classOf(byteAt({to.line, previousBoundary(to.line, to.offset)})) == word)
                to.offset = previousBoundary(to.line, to.offset);
        }
        break;
    case Motion::WordRight: {
        const std::size_t length = lines_[to.line].length;
        if (to.offset == length) {
            if (to.line < lastLine)
                to = {to.line + 1, 0};
            break;
        }
        const ByteClass word = classOf(byteAt(to));
        while (to.offset < length && word != ByteClass::Space && classOf(byteAt(to)) == word)
            to.offset = nextBoundary(to.line, to.offset);
        while (to.offset < length && classOf(byteAt(to)) == ByteClass::Space)
            to.offset = nextBoundary(to.line, to.offset);
        break;
    }
    case Motion::Up:
    case Motion::PageUp: {
        const std::size_t lines = motion == Motion::Up ? 1 : std::max<std::size_t>(pageLines, 1);
        to = positionAt(to.line - std::min(to.line, lines), goalCell_);
        vertical = true;
        break;
    }
    case Motion::Down:
    case Motion::PageDown: {
        const std::size_t lines = motion == Motion::Down ? 1 : std::max<std::size_t>(pageLines, 1);
        to = positionAt(std::min(lastLine, to.line + lines), goalCell_);
        vertical = true;
        break;
    }
    case Motion::LineStart:
        to.offset = 0;
        break;
    case Motion::LineEnd:
        to = lineEnd(to.line);
        break;
    case Motion::TextStart:
        to = {0, 0};
        break;
    case Motion::TextEnd:
        to = lineEnd(lastLine);
        break;
    }
    caret_ = to;
    if (!extend)
        anchor_ = caret_;
    if (!vertical)
        goalCell_ = cellOf(caret_);
}

void TextViewModel::placeCaret(TextPosition position, bool extend) {
    caret_ = clamped(position);
    if (!extend)
        anchor_ = caret_;
    goalCell_ = cellOf(caret_);
}

void TextViewModel::selectAll() {
    anchor_ = {0, 0};
    caret_ = {lines_.size() - 1, lines_[lines_.size() - 1].length};
    goalCell_ = cellOf(caret_);
}

void TextViewModel::selectRunAt(TextPosition position) {
    position = clamped(position);
    const std::string_view bytes = lineText(position.line);
    if (bytes.empty()) {
        placeCaret(position, false);
        return;
    }
    const auto classAt = [&](std::size_t offset) {
        return classOf(static_cast<unsigned char>(bytes[offset]));
    };
    // Past a line's last character, the click takes the run before it.
    std::size_t start = position.offset < bytes.size()
                            ? position.offset
                            : previousBoundary(position.line, position.offset);
    const ByteClass run = classAt(start);
    std::size_t end = start;
    while (end < bytes.size() && classAt(end) == run)
        end = nextBoundary(position.line, end);
    while (start > 0 && classAt(previousBoundary(position.line, start)) == run)
        start = previousBoundary(position.line, start);
    anchor_ = {position.line, start};
    caret_ = {position.line, end};
    goalCell_ = cellOf(caret_);
}

std::string TextViewModel::textBetween(TextPosition from, TextPosition to,
                                       std::string_view lineBreak) const {
    from = clamped(from);
    to = clamped(to);
    if (to <= from)
        return {};
    if (from.line == to.line)
        return std::string(lineText(from.line).substr(from.offset, to.offset - from.offset));
    // One allocation: a whole report's selection runs to megabytes.
    std::size_t size = lines_[from.line].length - from.offset + to.offset +
                       (to.line - from.line) * lineBreak.size();
    for (std::size_t line = from.line + 1; line < to.line; ++line)
        size += lines_[line].length;
    std::string text;
    text.reserve(size);
    text += lineText(from.line).substr(from.offset);
    for (std::size_t line = from.line + 1; line < to.line; ++line) {
        text += lineBreak;
        text += lineText(line);
    }
    text += lineBreak;
    text += lineText(to.line).substr(0, to.offset);
    return text;
}

std::string TextViewModel::selectedText(std::string_view lineBreak) const {
    return textBetween(selectionStart(), selectionEnd(), lineBreak);
}

std::string TextViewModel::wholeText(std::string_view lineBreak) const {
    const std::size_t last = lines_.size() - 1;
    return textBetween({0, 0}, {last, lines_[last].length}, lineBreak);
}

std::size_t TextViewModel::unitsBefore(std::size_t line, std::size_t offset) const {
    if (oneUnitEach_)
        return offset;
    const std::string_view bytes = lineText(line);
    std::size_t units = 0;
    for (std::size_t at = 0; at < offset && at < bytes.size(); at = nextBoundary(line, at))
        units += shape_.units[static_cast<unsigned char>(bytes[at])];
    return units;
}

const std::vector<std::size_t>& TextViewModel::lineOffsets() const {
    if (lineOffsets_.empty()) {
        lineOffsets_.reserve(lines_.size() + 1);
        std::size_t offset = 0;
        for (std::size_t line = 0; line < lines_.size(); ++line) {
            lineOffsets_.push_back(offset);
            offset += unitsBefore(line, lines_[line].length) + 1;
        }
        // The text's end: no break after the last line.
        lineOffsets_.push_back(offset - 1);
    }
    return lineOffsets_;
}

std::size_t TextViewModel::textLength() const {
    return lineOffsets().back();
}

std::size_t TextViewModel::textOffsetOf(TextPosition position) const {
    position = clamped(position);
    return lineOffsets()[position.line] + unitsBefore(position.line, position.offset);
}

TextPosition TextViewModel::positionAtTextOffset(std::size_t offset) const {
    const std::vector<std::size_t>& starts = lineOffsets();
    offset = std::min(offset, starts.back());
    // The last line starting at or before the offset; the end marker is no line.
    const auto after = std::upper_bound(starts.begin(), starts.end() - 1, offset);
    const auto line = static_cast<std::size_t>(after - starts.begin()) - 1;
    std::size_t units = offset - starts[line];
    if (oneUnitEach_)
        return clamped({line, units});
    const std::string_view bytes = lineText(line);
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t width = shape_.units[static_cast<unsigned char>(bytes[at])];
        if (units < width)
            break;
        units -= width;
        at = nextBoundary(line, at);
    }
    return {line, at};
}

std::size_t scrolledToShow(std::size_t target, std::size_t first, std::size_t visible) {
    if (target < first)
        return target;
    if (visible > 0 && target >= first + visible)
        return target - visible + 1;
    return first;
}

} // namespace faultward

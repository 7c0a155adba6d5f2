#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// The highest line number the language's Erl reports.
inline constexpr int kHighestLineNumber = 65529;

// How many digits of a line are its line number: digits in the first column
// followed by a blank or the end of the line. 0 when the line has none.
std::size_t lineNumberLength(std::string_view line);

// The line as it stands without its line number and the one space after it;
// the line itself when it has none. Only a statement's first line can carry a
// number, so this is asked of no continued line.
std::string_view withoutLineNumber(std::string_view line);

// Decides, line by line through one procedure body, which lines may carry a
// line number. Lines go in order, already without their numbers. Numbers go
// on statement lines only: not on blank or comment lines, lines continued
// from the line before, labels, compiler directives, Attribute lines, Case
// lines or the lines between Select Case and its first Case, nor on the
// lines this tool adds.
class NumberableLines {
public:
    // Whether the line may carry a number.
    bool accepts(std::string_view line);
    // Whether the next line continues the statement of the line last given,
    // so that what it starts with is no line number.
    bool nextIsContinued() const { return continued_; }
    // Whether the line last given goes on in the next line.
    bool lastGoesOn() const { return continued_; }

private:
    bool continued_ = false;
    bool lastContinued_ = false;
    bool beforeFirstCase_ = false;
};

// Whether the statement starting the line starts with a digit where no line
// number of this tool's form can stand (indented, or the digits not followed
// by a blank, as in "10:"); the numbers of such a procedure cannot be
// taken out or redone safely.
bool startsWithOddNumber(std::string_view line);

// Whether a body line looks like the head or the end of a procedure in a form
// the passes do not take as one ("end sub", an indented "Sub", "Private
// Static Sub"): where the body ends is then unclear.
bool looksLikeProcedureBoundary(std::string_view line);

// Finds jumps to line numbers in a procedure body: GoTo N, GoSub N,
// On ... GoTo/GoSub lists, Resume N, Then N and Else N, outside strings and
// comments. Lines go in order; a statement continued over lines is read
// whole.
class JumpTargets {
public:
    // goesOn: the line goes on in the next (continuesOnNextLine).
    void add(std::string_view line, bool goesOn);
    // The first number named, with the statement's first line (counting the
    // lines given from 1).
    std::optional<std::string> target() const { return target_; }
    std::size_t line() const { return targetLine_; }

private:
    void scan(std::string_view statement);

    std::string statement_;
    std::vector<std::string_view> words_; // of the statement scanned, kept for the next
    bool commentGoesOn_ = false;
    std::size_t lines_ = 0;
    std::size_t statementLine_ = 0;
    std::optional<std::string> target_;
    std::size_t targetLine_ = 0;
};

} // namespace faultward

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

// Finds where a procedure body's code names a line number, outside strings
// and comments: jumps (GoTo N, GoSub N, On ... GoTo/GoSub lists, Resume N,
// Then N and Else N) and comparisons of Erl with a number (Erl = 30,
// 30 < Erl, a Case 30 of Select Case Erl). Comparisons with 0 ask only
// whether a line had a number at all. Lines go in order; a statement
// continued over lines is read whole.
class LineReferences {
public:
    // goesOn: the line goes on in the next (continuesOnNextLine). marked: a
    // line this tool adds, whose uses of Erl are its own business.
    void add(std::string_view line, bool goesOn, bool marked = false);
    // The first number a jump names, with the statement's first line
    // (counting the lines given from 1).
    std::optional<std::string> jumpTarget() const { return target_; }
    std::size_t jumpLine() const { return targetLine_; }
    // The first statement comparing Erl with a line number; 0 when none.
    std::size_t erlLine() const { return erlLine_; }

private:
    void scan(std::string_view statement);
    void scanJumps();
    void scanErl(std::size_t from, std::size_t to);

    std::string statement_;
    std::vector<std::string_view> words_; // of the statement scanned, kept for the next
    bool commentGoesOn_ = false;
    bool statementMarked_ = false;
    std::size_t lines_ = 0;
    std::size_t statementLine_ = 0;
    std::optional<std::string> target_;
    std::size_t targetLine_ = 0;
    std::size_t erlLine_ = 0;
    // The Select Case blocks open since the first on Erl: whether each is on Erl.
    std::vector<bool> selects_;
};

// Whose line numbers a procedure body holds.
enum class LineNumbering : unsigned char {
    None,  // no line carries one
    Tools, // exactly what numbering could have written
    Users, // any other
};

// Tells whose the line numbers of one procedure body are. Numbering writes a
// number on every line that may carry one, from some start up by one step;
// lines added later without a number keep them so. Gaps and uneven steps,
// numbers on lines numbering passes over (a bare number, a comment), a lone
// number among several lines that may carry one, or a number numbering never
// writes (0, a leading zero, above kHighestLineNumber) are the user's.
class NumberingOwner {
public:
    // number: the line number the line starts with, empty for none;
    // numberable: whether numbering numbers the line without it.
    void add(std::string_view number, bool numberable);
    LineNumbering owner() const;
    // The first line (counting the lines given from 1) numbering could not
    // have written as it is; 0 when there is none.
    std::size_t foreignLine() const;

private:
    std::size_t lines_ = 0;
    std::size_t numberable_ = 0;
    std::size_t numbered_ = 0;
    std::size_t firstNumberedLine_ = 0;
    std::size_t foreignLine_ = 0;
    long last_ = 0;
    long step_ = 0;
};

} // namespace faultward

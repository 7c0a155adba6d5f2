#pragma once

#include "rewrite/text_lines.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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

// Whether the line starts with a digit after any blanks: a body without such
// a line holds no line number, odd or not.
inline bool mayHoldLineNumber(std::string_view line) {
    const std::size_t indent = leadingBlanks(line);
    return indent < line.size() && line[indent] >= '0' && line[indent] <= '9';
}

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
// Then N and Else N) and uses of Erl's value other than passing it on.
// Erl (Erl(), VBA.Erl, [Erl]; not o.Erl) is passed on as an argument of a
// call, joined into text with &, stored in a member, or assigned to a
// variable that is itself only passed on; a conversion (CLng, Format, ...)
// or a branch of IIf, Choose or Switch passes it through to where its value
// goes. Every other use compares it (Erl = 30, Erl \ 10, Erl Like "3*",
// Select Case Erl with a Case other than 0), except a comparison with 0 or
// If Erl Then, which ask only whether a line had a number. Lines go in
// order; a statement continued over lines is read whole.
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
    enum class ErlUse : unsigned char { PassedOn, Compared, Selected, Carried };

    bool mentionsCarrier(std::string_view line) const {
        return !carriers_.empty() && mentionsCarrierSlow(line);
    }
    bool mentionsCarrierSlow(std::string_view line) const;
    void scan(std::string_view statement);
    void scanJumps();
    void scanErl(std::size_t from, std::size_t to);
    // How the statement [from, to) uses the value at words_[at, end).
    ErlUse useOf(std::size_t at, std::size_t end, std::size_t from, std::size_t to,
                 std::string_view& carrier) const;
    ErlUse useInStatement(std::size_t at, std::size_t end, std::size_t from, std::size_t to,
                          std::string_view& carrier) const;

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
    // The variables holding Erl's value.
    std::vector<std::string> carriers_;
};

// Whose line numbers a procedure body holds.
enum class LineNumbering : unsigned char {
    None,  // no line carries one
    Tools, // exactly what numbering could have written
    Users, // any other
};

// Why numbers are taken for the user's: the first line that shows it.
enum class UsersNumbersSign : unsigned char {
    None,
    Unnumbered,   // the first line numbering numbers has no number
    SecondBare,   // more lines without a number than one added since
    LoneNumber,   // one number among several lines numbering numbers: no run
    NotOneSpace,  // a tab right after the number
    OffStep,      // not one ascending run of one step
    OnPassedLine, // a number on a line numbering passes over
    NeverWritten, // 0, a leading zero, above kHighestLineNumber
};

// How many lines numbering numbers may lack a number, as a user's edit since,
// with the numbers still this tool's.
inline constexpr std::size_t kBareLinesAllowed = 1;

// Tells whose the line numbers of one procedure body are. They are this
// tool's only when they are what numbering writes on the body as it now
// stands, for some start and step: a number and a space before every line
// numbering numbers (a tab is never written there), one ascending run of one
// step, of at least two numbers unless only one line is numbered, with at
// most kBareLinesAllowed of those lines bare (added since), never the first.
// Anything else is the user's.
class NumberingOwner {
public:
    // number: the line number the line starts with, empty for none;
    // numberable: whether numbering numbers the line without it; tabAfter:
    // a tab right after the number.
    void add(std::string_view number, bool numberable, bool tabAfter = false);
    LineNumbering owner() const;
    // The first line (counting the lines given from 1) numbering could not
    // have written as it is; 0 when there is none.
    std::size_t foreignLine() const;
    UsersNumbersSign sign() const;

private:
    void foreign(UsersNumbersSign sign);
    // The earliest sign, with its line, once the body is whole.
    std::pair<std::size_t, UsersNumbersSign> earliest() const;

    std::size_t lines_ = 0;
    std::size_t numberable_ = 0;
    std::size_t numbered_ = 0;
    std::size_t bare_ = 0;
    std::size_t firstNumberedLine_ = 0;
    std::size_t firstBareLine_ = 0;  // when it is the first line numbering numbers
    std::size_t secondBareLine_ = 0; // the first bare line beyond those allowed
    std::size_t foreignLine_ = 0;
    UsersNumbersSign foreign_ = UsersNumbersSign::None;
    long last_ = 0;
    long step_ = 0;
};

} // namespace faultward

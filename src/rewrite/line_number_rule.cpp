#include "rewrite/line_number_rule.h"

#include "rewrite/handler_format.h"
#include "rewrite/procedure_lines.h"

#include <array>
#include <vector>

namespace faultward {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Letters of the code page count too: the language takes them in names.
bool isWordChar(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return isDigit(c) || c == '_' || static_cast<unsigned>((byte | 0x20) - 'a') < 26u ||
           byte >= 0x80;
}

std::string_view withoutLeadingBlanks(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    return text.substr(at);
}

// The word the text starts with; empty when it starts otherwise.
std::string_view firstWord(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && isWordChar(text[end]))
        ++end;
    return text.substr(0, end);
}

// Keywords are compared without regard to letter case, as the language does.
bool sameWord(std::string_view word, std::string_view keyword) {
    if (word.size() != keyword.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if ((word[i] | 0x20) != (keyword[i] | 0x20))
            return false;
    return true;
}

bool isNumber(std::string_view token) {
    if (token.empty())
        return false;
    for (char c : token)
        if (!isDigit(c))
            return false;
    return true;
}

bool isZero(std::string_view number) {
    return number.find_first_not_of('0') == std::string_view::npos;
}

// Whether a number in the line stands where a jump names a line: after a
// comma (of an On ... GoTo list) or after GoTo, GoSub, Resume, Then or Else.
// Most lines have no such number, and need no closer look.
bool mayNameALine(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (!isDigit(line[i]) || (i > 0 && isWordChar(line[i - 1])))
            continue;
        std::size_t end = i;
        while (end > 0 && isBlank(line[end - 1]))
            --end;
        if (end > 0 && line[end - 1] == ',')
            return true;
        std::size_t start = end;
        while (start > 0 && isWordChar(line[start - 1]))
            --start;
        const std::string_view word = line.substr(start, end - start);
        for (std::string_view keyword : {"GoTo", "GoSub", "Resume", "Then", "Else"})
            if (sameWord(word, keyword))
                return true;
    }
    return false;
}

// Whether the line names Erl, in any letter case, as a word of its own.
bool mentionsErl(std::string_view line) {
    for (std::size_t at = 0; at + 3 <= line.size(); ++at) {
        if ((line[at] | 0x20) != 'e' || (line[at + 1] | 0x20) != 'r' ||
            (line[at + 2] | 0x20) != 'l')
            continue;
        if ((at == 0 || !isWordChar(line[at - 1])) &&
            (at + 3 == line.size() || !isWordChar(line[at + 3])))
            return true;
    }
    return false;
}

// The words, numbers and other characters of a statement, leaving out string
// literals and blanks.
void tokens(std::string_view code, std::vector<std::string_view>& found) {
    found.clear();
    std::size_t at = 0;
    while (at < code.size()) {
        const char c = code[at];
        if (isBlank(c)) {
            ++at;
        } else if (c == '"') {
            // A doubled quote inside a literal ends it and starts it again.
            const std::size_t close = code.find('"', at + 1);
            at = close == std::string_view::npos ? code.size() : close + 1;
        } else if (isWordChar(c)) {
            const std::string_view word = firstWord(code.substr(at));
            found.push_back(word);
            at += word.size();
        } else {
            found.push_back(code.substr(at, 1));
            ++at;
        }
    }
}

// The code before a Rem comment, which may start any statement of a line.
std::string_view withoutRemComment(std::string_view code) {
    bool statementStart = true;
    bool inString = false;
    for (std::size_t at = 0; at < code.size(); ++at) {
        const char c = code[at];
        if (c == '"') {
            inString = !inString;
            statementStart = false;
        } else if (inString || isBlank(c)) {
            continue;
        } else if (c == ':') {
            statementStart = true;
        } else if (statementStart && isWordChar(c)) {
            const std::string_view word = firstWord(code.substr(at));
            if (sameWord(word, "Rem") &&
                (at + word.size() == code.size() || isBlank(code[at + word.size()])))
                return code.substr(0, at);
            statementStart = false;
            at += word.size() - 1;
        } else {
            statementStart = false;
        }
    }
    return code;
}

// Whether a later statement of a Select Case line is a Case or End Select
// ("Select Case n: Case 1"), so that no line after it stands before the
// first Case.
bool closedOnItsLine(std::string_view rest) {
    const std::string_view code = codePart(rest);
    bool inString = false;
    for (std::size_t at = 0; at < code.size(); ++at) {
        if (code[at] == '"')
            inString = !inString;
        if (inString || code[at] != ':' || (at + 1 < code.size() && code[at + 1] == '='))
            continue;
        const std::string_view statement = withoutLeadingBlanks(code.substr(at + 1));
        const std::string_view word = firstWord(statement);
        if (sameWord(word, "Case") ||
            (sameWord(word, "End") &&
             sameWord(firstWord(withoutLeadingBlanks(statement.substr(word.size()))), "Select")))
            return true;
    }
    return false;
}

// The words of a procedure head's prefix before its keyword.
constexpr std::array<std::string_view, 5> kModifiers = {"Public", "Private", "Friend", "Static",
                                                        "Global"};

bool isProcedureKeyword(std::string_view word) {
    return sameWord(word, "Sub") || sameWord(word, "Function") || sameWord(word, "Property");
}

} // namespace

std::size_t lineNumberLength(std::string_view line) {
    std::size_t digits = 0;
    while (digits < line.size() && isDigit(line[digits]))
        ++digits;
    if (digits == 0 || (digits < line.size() && !isBlank(line[digits])))
        return 0;
    return digits;
}

std::string_view withoutLineNumber(std::string_view line) {
    const std::size_t digits = lineNumberLength(line);
    if (digits == 0)
        return line;
    return line.substr(digits < line.size() && line[digits] == ' ' ? digits + 1 : digits);
}

bool NumberableLines::accepts(std::string_view line) {
    lastContinued_ = continued_;
    continued_ = continuesOnNextLine(line);
    // A tilde is rarer than the marker's apostrophe, and quicker to look for.
    if (lastContinued_ ||
        (line.find('~') != std::string_view::npos && line.find(kMarker) != std::string_view::npos))
        return false;
    const std::string_view code = withoutLeadingBlanks(line);
    if (code.empty() || code[0] == '\'' || code[0] == '#' || isDigit(code[0]))
        return false;
    const std::string_view word = firstWord(code);
    if (word.empty())
        return true;
    const std::string_view afterWord = code.substr(word.size());
    if (sameWord(word, "Rem") && (afterWord.empty() || isBlank(afterWord[0])))
        return false;
    // A label: a name and a colon, blanks allowed between, where a named
    // argument has ":=".
    const std::string_view afterName = withoutLeadingBlanks(afterWord);
    if (afterName.starts_with(':') && !afterName.starts_with(":="))
        return false;
    if (sameWord(word, "Attribute"))
        return false;
    if (sameWord(word, "Case")) {
        beforeFirstCase_ = false;
        return false;
    }
    if (beforeFirstCase_) {
        // A Select Case without any Case ends here.
        if (sameWord(word, "End") && sameWord(firstWord(afterName), "Select"))
            beforeFirstCase_ = false;
        return false;
    }
    if (sameWord(word, "Select") && sameWord(firstWord(afterName), "Case"))
        beforeFirstCase_ = !closedOnItsLine(afterName);
    return true;
}

bool startsWithOddNumber(std::string_view line) {
    if (!line.empty() && isDigit(line[0]) && lineNumberLength(line) == 0)
        return true;
    const std::string_view statement = withoutLeadingBlanks(withoutLineNumber(line));
    return !statement.empty() && isDigit(statement[0]);
}

bool looksLikeProcedureBoundary(std::string_view line) {
    std::string_view rest = withoutLeadingBlanks(withoutLineNumber(line));
    // Every such line starts with End, a modifier or a keyword; most lines
    // start otherwise, and this is asked of every body line.
    const char first = rest.empty() ? ' ' : static_cast<char>(rest[0] | 0x20);
    if (first != 'e' && first != 'p' && first != 'f' && first != 's' && first != 'g')
        return false;
    const auto nextWord = [&rest] {
        rest = withoutLeadingBlanks(rest);
        const std::string_view word = firstWord(rest);
        rest.remove_prefix(word.size());
        return word;
    };
    std::string_view word = nextWord();
    if (sameWord(word, "End"))
        return isProcedureKeyword(nextWord());
    const auto isModifier = [](std::string_view candidate) {
        for (std::string_view modifier : kModifiers)
            if (sameWord(candidate, modifier))
                return true;
        return false;
    };
    while (isModifier(word))
        word = nextWord();
    return isProcedureKeyword(word);
}

void LineReferences::add(std::string_view line, bool goesOn, bool marked) {
    ++lines_;
    if (commentGoesOn_) {
        // A comment ending in a continuation goes on in the next line.
        commentGoesOn_ = goesOn;
        return;
    }
    if (statement_.empty()) {
        statementLine_ = lines_;
        statementMarked_ = marked;
    }
    const bool continues = goesOn;
    // A jump to a line names its number, a comparison names Erl: most
    // statements hold neither, and outside a Select Case on Erl they need no
    // closer look.
    if (!continues && statement_.empty()) {
        if (!mayNameALine(line) && (marked || (selects_.empty() && !mentionsErl(line))))
            return;
        scan(withoutRemComment(codePart(line)));
        return;
    }
    std::string_view code = withoutRemComment(codePart(line));
    if (continues && code.size() < line.size()) {
        commentGoesOn_ = true;
    } else if (continues) {
        while (!code.empty() && isBlank(code.back()))
            code.remove_suffix(1);
        code.remove_suffix(1); // the underscore
        statement_.append(code);
        statement_ += ' ';
        return;
    }
    statement_.append(code);
    scan(statement_);
    statement_.clear();
}

void LineReferences::scan(std::string_view statement) {
    tokens(statement, words_);
    if (!target_)
        scanJumps();
    if (erlLine_ != 0 || statementMarked_)
        return;
    // Each statement of the line on its own; ":=" names an argument.
    std::size_t from = 0;
    for (std::size_t i = 0; i <= words_.size(); ++i) {
        if (i < words_.size() &&
            (words_[i] != ":" || (i + 1 < words_.size() && words_[i + 1] == "=")))
            continue;
        scanErl(from, i);
        from = i + 1;
    }
}

void LineReferences::scanJumps() {
    const std::vector<std::string_view>& words = words_;
    const auto found = [&](std::string_view number) {
        target_ = std::string(number);
        targetLine_ = statementLine_;
    };
    for (std::size_t i = 0; i < words.size() && !target_; ++i) {
        const std::string_view word = words[i];
        const bool hasNext = i + 1 < words.size();
        if (sameWord(word, "GoTo") || sameWord(word, "GoSub")) {
            // On Error GoTo 0 turns handling off; it names no line.
            const bool afterError = i > 0 && sameWord(words[i - 1], "Error");
            for (std::size_t j = i + 1; j < words.size(); j += 2) {
                if (isNumber(words[j]) && !(afterError && isZero(words[j]))) {
                    found(words[j]);
                    break;
                }
                if (j + 1 >= words.size() || words[j + 1] != ",")
                    break;
            }
        } else if (sameWord(word, "Resume")) {
            // Resume 0 is Resume: back to the statement that failed.
            if (hasNext && isNumber(words[i + 1]) && !isZero(words[i + 1]))
                found(words[i + 1]);
        } else if (sameWord(word, "Then") || sameWord(word, "Else")) {
            if (hasNext && isNumber(words[i + 1]))
                found(words[i + 1]);
        }
    }
}

void LineReferences::scanErl(std::size_t from, std::size_t to) {
    const std::vector<std::string_view>& words = words_;
    const auto word = [&](std::size_t i) {
        return from + i < to ? words[from + i] : std::string_view();
    };
    // Erl, or Erl() as a function may be called.
    const auto erlEndsAt = [&](std::size_t i) -> std::size_t {
        if (!sameWord(words[i], "Erl"))
            return 0;
        return i + 2 < to && words[i + 1] == "(" && words[i + 2] == ")" ? i + 3 : i + 1;
    };
    const auto lineNumber = [&](std::size_t i) {
        return i < to && isNumber(words[i]) && !isZero(words[i]);
    };
    const auto isSign = [&](std::size_t i) {
        return i < to && (words[i] == "=" || words[i] == "<" || words[i] == ">");
    };
    if (sameWord(word(0), "Select") && sameWord(word(1), "Case")) {
        const bool onErl = to - from >= 3 && erlEndsAt(from + 2) == to;
        // Blocks inside one on Erl are followed, so that its End Select is known.
        if (onErl || !selects_.empty())
            selects_.push_back(onErl);
        return;
    }
    if (!selects_.empty() && sameWord(word(0), "End") && sameWord(word(1), "Select")) {
        selects_.pop_back();
        return;
    }
    if (!selects_.empty() && selects_.back() && sameWord(word(0), "Case")) {
        for (std::size_t i = from + 1; i < to; ++i)
            if (lineNumber(i))
                erlLine_ = statementLine_;
        return;
    }
    for (std::size_t i = from; i < to && erlLine_ == 0; ++i) {
        const std::size_t after = erlEndsAt(i);
        if (after == 0)
            continue;
        // "Erl <> 30": up to two signs, then the number; or the other way round.
        std::size_t sign = after;
        while (sign - after < 2 && isSign(sign))
            ++sign;
        std::size_t before = i;
        while (i - before < 2 && before > from && isSign(before - 1))
            --before;
        if ((sign > after && lineNumber(sign)) ||
            (before < i && before > from && lineNumber(before - 1)))
            erlLine_ = statementLine_;
    }
}

void NumberingOwner::add(std::string_view number, bool numberable) {
    ++lines_;
    numberable_ += numberable;
    if (number.empty())
        return;
    ++numbered_;
    if (numbered_ == 1)
        firstNumberedLine_ = lines_;
    if (foreignLine_ != 0)
        return;
    // Numbering writes no leading zero and nothing above the highest number.
    long value = 0;
    if (number.size() <= 5 && number[0] != '0')
        for (const char digit : number)
            value = value * 10 + (digit - '0');
    if (!numberable || value < 1 || value > kHighestLineNumber) {
        foreignLine_ = lines_;
        return;
    }
    if (numbered_ == 2)
        step_ = value - last_;
    if (numbered_ >= 2 && (step_ < 1 || value - last_ != step_))
        foreignLine_ = lines_;
    last_ = value;
}

LineNumbering NumberingOwner::owner() const {
    if (numbered_ == 0)
        return LineNumbering::None;
    return foreignLine() == 0 ? LineNumbering::Tools : LineNumbering::Users;
}

std::size_t NumberingOwner::foreignLine() const {
    if (foreignLine_ != 0)
        return foreignLine_;
    // Numbering never numbers one line of several.
    if (numbered_ == 1 && numberable_ > 1)
        return firstNumberedLine_;
    return 0;
}

} // namespace faultward

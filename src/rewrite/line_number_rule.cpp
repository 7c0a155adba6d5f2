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

void JumpTargets::add(std::string_view line, bool goesOn) {
    ++lines_;
    if (commentGoesOn_) {
        // A comment ending in a continuation goes on in the next line.
        commentGoesOn_ = goesOn;
        return;
    }
    if (statement_.empty())
        statementLine_ = lines_;
    const bool continues = goesOn;
    // A jump to a line names its number: a statement without a digit is
    // none, and most are without.
    if (!continues && statement_.empty()) {
        if (!mayNameALine(line))
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

void JumpTargets::scan(std::string_view statement) {
    if (target_)
        return;
    std::vector<std::string_view>& words = words_;
    tokens(statement, words);
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

} // namespace faultward

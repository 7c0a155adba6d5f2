#include "rewrite/line_number_rule.h"

#include "rewrite/handler_format.h"
#include "rewrite/procedure_lines.h"

#include <algorithm>
#include <array>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    return text.substr(leadingBlanks(text));
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

// Whether the number starting at i stands where a jump names a line: after
// a comma (of an On ... GoTo list) or after GoTo, GoSub, Resume, Then or Else.
bool namesALineAt(std::string_view line, std::size_t i) {
    if (i > 0 && isWordChar(line[i - 1]))
        return false;
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
    return false;
}

// Whether some number of the line stands where a jump names a line. Most
// lines have no such number, and need no closer look; every body line is
// asked, so its digits are found 16 bytes at a time.
bool mayNameALine(std::string_view line) {
    std::size_t i = 0;
#if defined(__SSE2__)
    // Digits lie 0 to 9 above '0', compared as signed bytes.
    const __m128i zero = _mm_set1_epi8('0');
    const __m128i below = _mm_set1_epi8(-1);
    const __m128i above = _mm_set1_epi8(10);
    const auto digitsAt = [&](std::size_t from) {
        const __m128i offset = _mm_sub_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + from)), zero);
        return static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpgt_epi8(offset, below), _mm_cmpgt_epi8(above, offset))));
    };
    const auto anyNamesALine = [&](std::size_t first, unsigned digits) {
        for (; digits != 0; digits &= digits - 1)
            if (namesALineAt(line, first + static_cast<std::size_t>(__builtin_ctz(digits))))
                return true;
        return false;
    };
    for (; i + 16 <= line.size(); i += 16)
        if (anyNamesALine(i, digitsAt(i)))
            return true;
    // The rest within the last 16 bytes, without those looked at.
    if (i > 0 && i < line.size()) {
        const std::size_t last = line.size() - 16;
        return anyNamesALine(i, digitsAt(last) >> (i - last));
    }
#endif
    for (; i < line.size(); ++i)
        if (isDigit(line[i]) && namesALineAt(line, i))
            return true;
    return false;
}

// Whether the line names the word, in any letter case, as a word of its own.
bool mentionsWord(std::string_view line, std::string_view word) {
    for (std::size_t at = 0; at + word.size() <= line.size(); ++at) {
        if ((line[at] | 0x20) != (word[0] | 0x20) || !sameWord(line.substr(at, word.size()), word))
            continue;
        if ((at == 0 || !isWordChar(line[at - 1])) &&
            (at + word.size() == line.size() || !isWordChar(line[at + word.size()])))
            return true;
    }
    return false;
}

// Asked of every line: spelt out, it is quicker than the search for any
// word, and 16 places at a time.
bool mentionsErl(std::string_view line) {
    const auto isErlAt = [&](std::size_t at) {
        return (at == 0 || !isWordChar(line[at - 1])) &&
               (at + 3 == line.size() || !isWordChar(line[at + 3]));
    };
    std::size_t at = 0;
#if defined(__SSE2__)
    const __m128i lowerCase = _mm_set1_epi8(0x20);
    const auto letterAt = [&](std::size_t from, char letter) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + from));
        return _mm_cmpeq_epi8(_mm_or_si128(bytes, lowerCase), _mm_set1_epi8(letter));
    };
    const auto erlAt = [&](std::size_t from) {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
            _mm_and_si128(letterAt(from, 'e'), letterAt(from + 1, 'r')), letterAt(from + 2, 'l'))));
    };
    const auto anyErl = [&](std::size_t first, unsigned found) {
        for (; found != 0; found &= found - 1)
            if (isErlAt(first + static_cast<std::size_t>(__builtin_ctz(found))))
                return true;
        return false;
    };
    for (; at + 18 <= line.size(); at += 16)
        if (anyErl(at, erlAt(at)))
            return true;
    // The places left, within the last 18 bytes, without those looked at.
    if (at > 0 && at + 3 <= line.size()) {
        const std::size_t last = line.size() - 18;
        return anyErl(at, erlAt(last) >> (at - last));
    }
#endif
    for (; at + 3 <= line.size(); ++at)
        if ((line[at] | 0x20) == 'e' && (line[at + 1] | 0x20) == 'r' &&
            (line[at + 2] | 0x20) == 'l' && isErlAt(at))
            return true;
    return false;
}

// The words, numbers, string literals and other characters of a statement,
// leaving out blanks. A name in brackets ([Erl]) is the name; a literal
// keeps its quotes.
void tokens(std::string_view code, std::vector<std::string_view>& found) {
    found.clear();
    std::size_t at = 0;
    while (at < code.size()) {
        const char c = code[at];
        if (isBlank(c)) {
            ++at;
        } else if (c == '"') {
            // A doubled quote inside a literal ends it and starts it again.
            std::size_t close = code.find('"', at + 1);
            while (close != std::string_view::npos && close + 1 < code.size() &&
                   code[close + 1] == '"')
                close = code.find('"', close + 2);
            const std::size_t end = close == std::string_view::npos ? code.size() : close + 1;
            found.push_back(code.substr(at, end - at));
            at = end;
        } else if (c == '[' && code.find(']', at) != std::string_view::npos) {
            const std::size_t close = code.find(']', at);
            found.push_back(code.substr(at + 1, close - at - 1));
            at = close + 1;
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

bool isName(std::string_view token) {
    return !token.empty() && isWordChar(token[0]) && !isDigit(token[0]);
}

bool isOneOf(std::string_view word, std::initializer_list<std::string_view> words) {
    for (std::string_view each : words)
        if (sameWord(word, each))
            return true;
    return false;
}

// Words that work on values, which a name before a parenthesis or a value
// after a statement's start never is.
bool isOperatorWord(std::string_view word) {
    return isOneOf(word,
                   {"And",   "Or",   "Not",  "Xor",  "Eqv",    "Imp", "Mod",    "Like",   "Is",
                    "To",    "Step", "Then", "Else", "ElseIf", "If",  "Case",   "Select", "While",
                    "Until", "Each", "In",   "Call", "Let",    "Set", "Return", "New"});
}

bool isComparison(std::string_view token) {
    return token == "=" || token == "<" || token == ">";
}

// What may stand next to a value that is then worked on: a sign, an
// arithmetic or logical operator.
bool isOperator(std::string_view token) {
    if (token.size() == 1 &&
        std::string_view("=<>+-*/\\^").find(token[0]) != std::string_view::npos)
        return true;
    return isOneOf(token, {"Mod", "Like", "Is", "And", "Or", "Xor", "Not", "Eqv", "Imp"});
}

// Statements that take no call's arguments: what follows them is worked on.
bool isStatementKeyword(std::string_view word) {
    return isOperatorWord(word) ||
           isOneOf(word,
                   {"Do",    "Loop",    "For",    "Next",   "Wend",  "With", "End",   "Exit",
                    "GoTo",  "GoSub",   "On",     "Resume", "Error", "Dim",  "ReDim", "Static",
                    "Const", "Private", "Public", "Global", "Erase", "Stop"});
}

// Functions that give the value they are given, in another type or form:
// the value goes on to where their result goes.
bool passesValueThrough(std::string_view name) {
    return isOneOf(name, {"CLng", "CInt",    "CDbl",    "CSng", "CCur",  "CDec",   "CVar", "CByte",
                          "CStr", "CLngLng", "CLngPtr", "Val",  "Str",   "Format", "Abs",  "Int",
                          "Fix",  "Hex",     "Oct",     "Trim", "LTrim", "RTrim"});
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
    if (lastContinued_ || lineHoldsMarker(line))
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
    // Asked of every body line, and most start with no digit at all.
    if (!mayHoldLineNumber(line))
        return false;
    if (isDigit(line[0]) && lineNumberLength(line) == 0)
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
        if (!mayNameALine(line) &&
            (marked || (selects_.empty() && !mentionsErl(line) && !mentionsCarrier(line))))
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

bool LineReferences::mentionsCarrierSlow(std::string_view line) const {
    for (const std::string& carrier : carriers_)
        if (mentionsWord(line, carrier))
            return true;
    return false;
}

void LineReferences::scanErl(std::size_t from, std::size_t to) {
    const std::vector<std::string_view>& words = words_;
    const auto word = [&](std::size_t i) {
        return from + i < to ? words[from + i] : std::string_view();
    };
    const bool selectCase = sameWord(word(0), "Select") && sameWord(word(1), "Case");
    if (!selects_.empty() && sameWord(word(0), "End") && sameWord(word(1), "Select")) {
        selects_.pop_back();
        return;
    }
    if (!selects_.empty() && selects_.back() && sameWord(word(0), "Case")) {
        // Case 0 and Case Else ask nothing of the line's number.
        for (std::size_t i = from + 1; i < to; ++i)
            if (words[i] != "," && !(isNumber(words[i]) && isZero(words[i])) &&
                !sameWord(words[i], "Else"))
                erlLine_ = statementLine_;
        return;
    }
    bool onErl = false;
    for (std::size_t i = from; i < to && erlLine_ == 0; ++i) {
        // Erl, Erl(), VBA.Erl, or a variable holding its value; a member of
        // another object is another thing.
        const bool erl = sameWord(words[i], "Erl");
        bool carried = false;
        for (std::size_t c = 0; !erl && !carried && c < carriers_.size(); ++c)
            carried = sameWord(words[i], carriers_[c]);
        if (!erl && !carried)
            continue;
        std::size_t at = i;
        if (i > from && words[i - 1] == ".") {
            if (!erl || i < from + 2 || !sameWord(words[i - 2], "VBA") ||
                (i > from + 2 && words[i - 3] == "."))
                continue;
            at = i - 2;
        }
        std::size_t end = i + 1;
        if (erl && end + 1 < to && words[end] == "(" && words[end + 1] == ")")
            end += 2;
        // The variable a statement assigns to is not a use of its value.
        if (carried && end < to && words[end] == "=" &&
            (at == from || isOneOf(words[at - 1], {"Let", "Then", "Else"})))
            continue;
        std::string_view carrier;
        switch (useOf(at, end, from, to, carrier)) {
        case ErlUse::Compared:
            erlLine_ = statementLine_;
            break;
        case ErlUse::Selected:
            onErl = true;
            break;
        case ErlUse::Carried: {
            bool known = false;
            for (const std::string& held : carriers_)
                known |= sameWord(held, carrier);
            if (!known)
                carriers_.emplace_back(carrier);
            break;
        }
        case ErlUse::PassedOn:
            break;
        }
        i = end - 1;
    }
    // Blocks inside one on Erl are followed, so that its End Select is known.
    if (selectCase && (onErl || !selects_.empty()))
        selects_.push_back(onErl);
}

LineReferences::ErlUse LineReferences::useOf(std::size_t at, std::size_t end, std::size_t from,
                                             std::size_t to, std::string_view& carrier) const {
    const std::vector<std::string_view>& words = words_;
    const auto isZeroAt = [&](std::size_t i) { return isNumber(words[i]) && isZero(words[i]); };
    for (;;) {
        const std::string_view left = at > from ? words[at - 1] : std::string_view();
        const std::string_view right = end < to ? words[end] : std::string_view();
        // A comparison with 0 asks only whether the line had a number.
        std::size_t sign = end;
        while (sign < to && sign - end < 2 && isComparison(words[sign]))
            ++sign;
        if (sign > end && sign < to && isZeroAt(sign))
            return ErlUse::PassedOn;
        sign = at;
        while (sign > from && at - sign < 2 && isComparison(words[sign - 1]))
            --sign;
        if (sign < at && sign > from && isZeroAt(sign - 1))
            return ErlUse::PassedOn;
        // Joined into text; arithmetic binds first, and a comparison after
        // would compare the text.
        if (left == "&" || right == "&")
            return isOperator(left) || isOperator(right) ? ErlUse::Compared : ErlUse::PassedOn;
        // A named argument (Line:=Erl) is an argument like any other.
        const bool namedArgument = left == "=" && at >= from + 2 && words[at - 2] == ":";
        if (left != "(" && left != "," && !namedArgument)
            return useInStatement(at, end, from, to, carrier);
        // In parentheses: find the opening one and the argument's place.
        std::size_t open = at;
        std::size_t argument = 0;
        bool enclosed = false;
        for (int depth = 0; !enclosed && open > from;) {
            const std::string_view token = words[--open];
            if (token == ")")
                ++depth;
            else if (token == "(")
                enclosed = depth-- == 0;
            else if (token == "," && depth == 0)
                ++argument;
        }
        // An argument of a call statement, after the first.
        if (!enclosed)
            return useInStatement(at, end, from, to, carrier);
        if (right != "," && right != ")")
            return ErlUse::Compared;
        std::size_t close = end;
        for (int inner = 0; close < to; ++close) {
            if (words[close] == "(")
                ++inner;
            else if (words[close] == ")" && inner-- == 0)
                break;
        }
        if (close == to)
            return ErlUse::Compared;
        // The name called: a word, or one with a type character (Str$).
        std::size_t name = open;
        if (name > from && words[name - 1].size() == 1 && name >= from + 2 &&
            std::string_view("$%&!#@").find(words[name - 1][0]) != std::string_view::npos &&
            words[name - 2].data() + words[name - 2].size() == words[name - 1].data())
            --name;
        const bool called = name > from && isName(words[name - 1]) &&
                            !isOperatorWord(words[name - 1]) && !isNumber(words[name - 1]);
        if (!called) {
            // Parentheses that only group.
            if (argument != 0 || right != ")")
                return ErlUse::Compared;
            at = open;
            end = close + 1;
            continue;
        }
        const std::string_view callee = words[name - 1];
        const bool picks = sameWord(callee, "Choose") || sameWord(callee, "IIf");
        if ((picks && argument == 0) || (sameWord(callee, "Switch") && argument % 2 == 0))
            return ErlUse::Compared;
        if (!picks && !sameWord(callee, "Switch") && !(passesValueThrough(callee) && argument == 0))
            return ErlUse::PassedOn;
        // The call gives the value on: look at where it goes.
        at = name - 1;
        while (at >= from + 2 && words[at - 1] == "." && isName(words[at - 2]))
            at -= 2;
        end = close + 1;
    }
}

LineReferences::ErlUse LineReferences::useInStatement(std::size_t at, std::size_t end,
                                                      std::size_t from, std::size_t to,
                                                      std::string_view& carrier) const {
    const std::vector<std::string_view>& words = words_;
    // A single-line If holds statements after its Then and Else.
    std::size_t start = from;
    int depth = 0;
    for (std::size_t i = at; i > from; --i) {
        const std::string_view token = words[i - 1];
        depth += token == ")" ? 1 : token == "(" ? -1 : 0;
        if (depth == 0 && (sameWord(token, "Then") || sameWord(token, "Else"))) {
            start = i;
            break;
        }
    }
    if (start < to && sameWord(words[start], "Call"))
        ++start;
    if (start + 1 < to && sameWord(words[start], "Select") && sameWord(words[start + 1], "Case"))
        return at == start + 2 && end == to ? ErlUse::Selected : ErlUse::Compared;
    // If Erl Then asks whether the line had a number, as Erl <> 0 does.
    if (at == start + 1 && end < to && sameWord(words[end], "Then") &&
        isOneOf(words[start], {"If", "ElseIf"}))
        return ErlUse::PassedOn;
    if (start < to && isOneOf(words[start], {"Let", "Set"}))
        ++start;
    // What the statement starts with: a variable, a member or an element
    // (then = assigns to it), or the name of a procedure called.
    std::size_t target = start;
    if (target < to && words[target] == ".")
        ++target;
    const bool named = target < to && isName(words[target]) && !isStatementKeyword(words[target]);
    while (named && target < to && isName(words[target])) {
        ++target;
        if (target < to && words[target] == "(") {
            for (int inner = 0; ++target < to;) {
                if (words[target] == "(")
                    ++inner;
                else if (words[target] == ")" && inner-- == 0)
                    break;
            }
            target = std::min(target + 1, to);
        }
        if (target + 1 >= to || words[target] != ".")
            break;
        ++target;
    }
    if (named && target < to && words[target] == "=") {
        if (at != target + 1 || end != to)
            return ErlUse::Compared;
        // A member or an element holds it for whoever reads it, as a call's
        // argument does; a variable is followed.
        if (target != start + 1)
            return ErlUse::PassedOn;
        carrier = words[start];
        return ErlUse::Carried;
    }
    // A call statement: its name, then its arguments, each passed on whole.
    const auto separates = [&](std::size_t i) {
        return words[i] == "," || words[i] == ";" ||
               (words[i] == "=" && i > from && words[i - 1] == ":");
    };
    if (named && (at == target || (at > from && separates(at - 1))) &&
        (end == to || separates(end)))
        return ErlUse::PassedOn;
    return ErlUse::Compared;
}

void NumberingOwner::foreign(UsersNumbersSign sign) {
    if (foreign_ != UsersNumbersSign::None)
        return;
    foreign_ = sign;
    foreignLine_ = lines_;
}

void NumberingOwner::add(std::string_view number, bool numberable, bool tabAfter) {
    ++lines_;
    numberable_ += numberable;
    if (number.empty()) {
        if (!numberable)
            return;
        ++bare_;
        if (numberable_ == 1)
            firstBareLine_ = lines_;
        else if (bare_ == kBareLinesAllowed + 1 && secondBareLine_ == 0)
            secondBareLine_ = lines_;
        return;
    }
    if (++numbered_ == 1)
        firstNumberedLine_ = lines_;
    // Numbering writes no leading zero and nothing above the highest number.
    long value = 0;
    if (number.size() <= 5 && number[0] != '0')
        for (const char digit : number)
            value = value * 10 + (digit - '0');
    if (!numberable)
        foreign(UsersNumbersSign::OnPassedLine);
    else if (value < 1 || value > kHighestLineNumber)
        foreign(UsersNumbersSign::NeverWritten);
    else if (tabAfter)
        foreign(UsersNumbersSign::NotOneSpace);
    if (numbered_ == 2)
        step_ = value - last_;
    if (numbered_ >= 2 && (step_ < 1 || value - last_ != step_))
        foreign(UsersNumbersSign::OffStep);
    last_ = value;
}

std::pair<std::size_t, UsersNumbersSign> NumberingOwner::earliest() const {
    if (numbered_ == 0)
        return {0, UsersNumbersSign::None};
    std::pair<std::size_t, UsersNumbersSign> first{foreignLine_, foreign_};
    const auto consider = [&](std::size_t line, UsersNumbersSign sign) {
        if (line != 0 && (first.first == 0 || line < first.first))
            first = {line, sign};
    };
    consider(firstBareLine_, UsersNumbersSign::Unnumbered);
    consider(secondBareLine_, UsersNumbersSign::SecondBare);
    // Numbering never numbers one line of several.
    if (numbered_ == 1 && numberable_ > 1)
        consider(firstNumberedLine_, UsersNumbersSign::LoneNumber);
    return first;
}

LineNumbering NumberingOwner::owner() const {
    if (numbered_ == 0)
        return LineNumbering::None;
    return foreignLine() == 0 ? LineNumbering::Tools : LineNumbering::Users;
}

std::size_t NumberingOwner::foreignLine() const {
    return earliest().first;
}

UsersNumbersSign NumberingOwner::sign() const {
    return earliest().second;
}

} // namespace faultward

#include "rewrite/procedure_body.h"

#include <cstring>

namespace faultward {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Letters of the code page's upper half belong to names as well.
bool isNameCharacter(char c) {
    return isLetter(c) || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && isBlank(text[at]))
        ++at;
    return at;
}

// Whether text at `at` holds word in any letter case, not followed by more of a name.
bool wordAt(std::string_view text, std::size_t at, std::string_view word) {
    if (text.size() - at < word.size() ||
        !equalIgnoringAsciiCase(text.substr(at, word.size()), word))
        return false;
    const std::size_t after = at + word.size();
    return after == text.size() || !isNameCharacter(text[after]);
}

// The End statement of the kind starting at `at`, after any blanks.
bool endStatementAt(std::string_view text, std::size_t at, ProcedureKind kind) {
    at = skipBlanks(text, at);
    if (!wordAt(text, at, "End"))
        return false;
    const std::size_t keyword = skipBlanks(text, at + 3);
    return keyword > at + 3 && wordAt(text, keyword, endStatement(kind).substr(4));
}

// Whether a statement that follows a colon, from the first colon on, is the
// End statement of the kind. A colon inside a string or a comment separates
// nothing, nor does the one of a named argument (":=").
bool endStatementAfterColons(std::string_view line, std::size_t firstColon, ProcedureKind kind) {
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            inString = !inString;
        } else if (inString) {
            continue;
        } else if (c == '\'') {
            return false;
        } else if (c == ':' && i >= firstColon && (i + 1 == line.size() || line[i + 1] != '=')) {
            const std::size_t next = skipBlanks(line, i + 1);
            if (wordAt(line, next, "Rem"))
                return false;
            if (endStatementAt(line, next, kind))
                return true;
        }
    }
    return false;
}

} // namespace

std::string leftAloneReason(LeftAlone reason, ProcedureKind kind) {
    switch (reason) {
    case LeftAlone::OneLine:
        return "one-line";
    case LeftAlone::OwnHandling:
        return "it handles its own errors";
    case LeftAlone::EndNotAnEndLine:
        return "its end is not an " + std::string(endStatement(kind)) + " line";
    case LeftAlone::LabelTaken:
        return "its label is taken";
    case LeftAlone::LineTooLong:
        return "a handler line would be longer than " + std::to_string(kLongestSourceLine) +
               " characters";
    case LeftAlone::Listed:
        return "listed in [Leave]";
    case LeftAlone::IndentedHead:
        return "its head is indented";
    case LeftAlone::No:
        break;
    }
    return {};
}

LeftAlone verdictOn(const ProcedureBody& body, const HandlerFit& handler,
                    const InsertionOptions& options) {
    if (options.skipHandled && body.traps.own)
        return LeftAlone::OwnHandling;
    if (!body.endIsEndLine)
        return LeftAlone::EndNotAnEndLine;
    if (body.labelTaken)
        return LeftAlone::LabelTaken;
    if (handler.tooLong)
        return LeftAlone::LineTooLong;
    return LeftAlone::No;
}

std::size_t nameLength(std::string_view text) {
    if (text.empty() || !isLetter(text[0]))
        return 0;
    std::size_t length = 1;
    while (length < text.size() && isNameCharacter(text[length]))
        ++length;
    return length;
}

std::string_view labelDefinedBy(std::string_view line) {
    const std::size_t start = skipBlanks(line, 0);
    const std::size_t length = nameLength(line.substr(start));
    // Blanks may stand between the name and its colon ("EH :").
    const std::size_t colon = skipBlanks(line, start + length);
    if (length == 0 || colon == line.size() || line[colon] != ':' ||
        (colon + 1 < line.size() && line[colon + 1] == '='))
        return {};
    return line.substr(start, length);
}

BodyLine inspectBodyLine(std::string_view line, ProcedureKind kind, bool atStatementStart) {
    BodyLine found;
    const std::size_t first = skipBlanks(line, 0);
    if (atStatementStart && first < line.size() && (line[first] | 0x20) == 'e' &&
        endStatementAt(line, first, kind)) {
        found.end = true;
        return found;
    }
    const void* colon = std::memchr(line.data() + first, ':', line.size() - first);
    if (colon == nullptr)
        return found;
    found.end = endStatementAfterColons(
        line, static_cast<std::size_t>(static_cast<const char*>(colon) - line.data()), kind);
    if (atStatementStart)
        found.label = labelDefinedBy(line);
    return found;
}

bool holdsEndStatement(std::string_view line, ProcedureKind kind, bool atStatementStart) {
    return inspectBodyLine(line, kind, atStatementStart).end;
}

} // namespace faultward

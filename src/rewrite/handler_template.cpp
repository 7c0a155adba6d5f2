#include "rewrite/handler_template.h"

#include "rewrite/handler_format.h"
#include "rewrite/procedure_body.h"
#include "rewrite/procedure_lines.h"
#include "rewrite/text_lines.h"

#include "platform/windows_names.h"

#include <array>

namespace faultward {
namespace {

using Placeholder = HandlerTemplate::Placeholder;
using Piece = HandlerTemplate::Piece;
using Line = HandlerTemplate::Line;

struct PlaceholderName {
    std::string_view name;
    Placeholder placeholder;
};
constexpr std::array<PlaceholderName, 5> kPlaceholders = {{
    {"procedure", Placeholder::Procedure},
    {"module", Placeholder::Module},
    {"file", Placeholder::File},
    {"project", Placeholder::Project},
    {"exit", Placeholder::Exit},
}};

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view withoutTrailingBlanks(std::string_view line) {
    const std::size_t last = line.find_last_not_of(" \t");
    return last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
}

std::string lineError(std::size_t number, std::string_view message) {
    return "line " + std::to_string(number) + ": " + std::string(message);
}

// What every written line gets after the template's text.
constexpr std::size_t kMarkedEndingSize = 2 + kMarker.size();

bool isControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7f;
}

// One line of a section as pieces, or nothing with error set.
std::optional<Line> parseLine(std::string_view text, std::size_t number, std::string& error) {
    if (text.find(kMarker) != std::string_view::npos) {
        error = lineError(number, "holds the marker comment, which is added to every line");
        return std::nullopt;
    }
    if (text.find_first_of("\r\n") != std::string_view::npos) {
        error = lineError(number, "holds a stray line break");
        return std::nullopt;
    }
    // Such bytes would go into every procedure of every file.
    for (const char c : text)
        if (isControlByte(c)) {
            error = lineError(number, "holds the control character " +
                                          std::to_string(static_cast<unsigned char>(c)) +
                                          "; only text and tabs belong in a template");
            return std::nullopt;
        }
    if (text.size() + kMarkedEndingSize > kLongestSourceLine) {
        error = lineError(number, "gives a line longer than the editor's " +
                                      std::to_string(kLongestSourceLine) + " characters");
        return std::nullopt;
    }
    if (continuesOnNextLine(text)) {
        error = lineError(number, "goes on in the next line, but the marker comment ends it");
        return std::nullopt;
    }
    Line line;
    const auto literal = [&line]() -> std::string& {
        if (line.empty() || line.back().placeholder != Placeholder::None)
            line.push_back({});
        return line.back().literal;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c == '{' || c == '}') && i + 1 < text.size() && text[i + 1] == c) {
            literal() += c;
            ++i;
        } else if (c == '}') {
            error = lineError(number, "has a '}' that closes nothing; write }} for a brace");
            return std::nullopt;
        } else if (c == '{') {
            const std::size_t close = text.find('}', i);
            if (close == std::string_view::npos) {
                error = lineError(number, "has a '{' that is never closed; write {{ for a brace");
                return std::nullopt;
            }
            const std::string_view name = text.substr(i + 1, close - i - 1);
            Placeholder found = Placeholder::None;
            for (const PlaceholderName& known : kPlaceholders)
                if (known.name == name)
                    found = known.placeholder;
            if (found == Placeholder::None) {
                error = lineError(number, "unknown placeholder {" + std::string(name) +
                                              "}; known are {procedure}, {module}, {file}, "
                                              "{project} and {exit}");
                return std::nullopt;
            }
            line.push_back({found, {}});
            i = close;
        } else {
            literal() += c;
        }
    }
    return line;
}

// A value goes into one marked line; a line break in it would leave the part
// after the break without the marker, and removal could not take it out.
std::string_view withinOneLine(std::string_view value) {
    return value.substr(0, value.find_first_of("\r\n"));
}

std::string_view valueOf(Placeholder placeholder, const TemplateValues& values) {
    switch (placeholder) {
    case Placeholder::Procedure:
        return withinOneLine(values.procedure);
    case Placeholder::Module:
        return withinOneLine(values.module);
    case Placeholder::File:
        return withinOneLine(values.file);
    case Placeholder::Project:
        return withinOneLine(values.project);
    case Placeholder::Exit:
        return values.exit;
    case Placeholder::None:
        break;
    }
    return {};
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The label a GoTo in the line jumps to, outside strings and comments; empty
// for none, or for a line number such as the 0 of On Error GoTo 0.
std::string_view goToTarget(std::string_view line) {
    const std::string_view code = codePart(line);
    bool inString = false;
    for (std::size_t i = 0; i + 4 <= code.size(); ++i) {
        if (code[i] == '"')
            inString = !inString;
        if (inString || (i > 0 && code[i - 1] != ' ' && code[i - 1] != '\t') ||
            !equalIgnoringAsciiCase(code.substr(i, 4), "goto"))
            continue;
        std::size_t start = i + 4;
        if (start == code.size() || (code[start] != ' ' && code[start] != '\t'))
            continue;
        while (start < code.size() && (code[start] == ' ' || code[start] == '\t'))
            ++start;
        return code.substr(start, nameLength(code.substr(start)));
    }
    return {};
}

} // namespace

bool savedAsUtf16(std::string_view text) {
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))
        return true;
    // Without its mark, text of the first half of the code page has every other byte zero.
    return text.size() >= 2 && (text[0] == '\0') != (text[1] == '\0');
}

std::optional<std::string> HandlerTemplate::undefinedTrapLabel() const {
    const TemplateValues values{"Procedure", "Module", "File.bas", "Project", "EXIT SUB"};
    std::string trap;
    std::string block;
    appendTrap(trap, values, "\n");
    appendBlock(block, values, "\n");
    HandlerLabels defined;
    LineCursor blockLines(block);
    std::string_view line;
    while (blockLines.next(line))
        if (const std::string_view label = labelDefinedBy(line); !label.empty())
            defined.emplace_back(label);
    LineCursor trapLines(trap);
    for (std::size_t i = 0; trapLines.next(line); ++i) {
        const std::string_view target = goToTarget(line);
        if (target.empty())
            continue;
        bool found = false;
        for (const std::string& label : defined)
            found = found || equalIgnoringAsciiCase(label, target);
        if (!found)
            return lineError(trapLineNumbers_[i],
                             "jumps to " + std::string(target) +
                                 ", a label that the [handler] lines do not define");
    }
    return std::nullopt;
}

std::optional<HandlerTemplate> HandlerTemplate::parse(std::string_view text, std::string& error) {
    if (savedAsUtf16(text)) {
        error = "is saved as UTF-16; save it as ANSI";
        return std::nullopt;
    }
    // Editors that save UTF-8 may put its mark first; the lines are bytes all the same.
    if (text.starts_with(kUtf8Mark))
        text.remove_prefix(kUtf8Mark.size());
    HandlerTemplate parsed;
    std::vector<Line>* section = nullptr;
    bool seenTrap = false;
    bool seenHandler = false;
    LineCursor cursor(text);
    std::string_view line;
    std::size_t number = 0;
    while (cursor.next(line)) {
        ++number;
        if (line.starts_with(';') || isBlankLine(line))
            continue;
        if (line.starts_with('[')) {
            const std::string_view header = withoutTrailingBlanks(line);
            bool& seen = header == "[trap]" ? seenTrap : seenHandler;
            if (header != "[trap]" && header != "[handler]") {
                error = lineError(number, "unknown section " + std::string(header) +
                                              "; a template has [trap] and [handler]");
                return std::nullopt;
            }
            if (seen) {
                error = lineError(number, "a second " + std::string(header) + " section");
                return std::nullopt;
            }
            seen = true;
            section = header == "[trap]" ? &parsed.trap_ : &parsed.block_;
            continue;
        }
        if (!section) {
            error = lineError(number, "text before the first section; start with [trap]");
            return std::nullopt;
        }
        std::optional<Line> pieces = parseLine(line, number, error);
        if (!pieces)
            return std::nullopt;
        section->push_back(std::move(*pieces));
        if (section == &parsed.trap_)
            parsed.trapLineNumbers_.push_back(number);
    }
    if (parsed.trap_.empty() || parsed.block_.empty()) {
        error = parsed.trap_.empty() ? "no [trap] section with a line in it"
                                     : "no [handler] section with a line in it";
        return std::nullopt;
    }
    if (std::optional<std::string> undefined = parsed.undefinedTrapLabel()) {
        error = std::move(*undefined);
        return std::nullopt;
    }
    return parsed;
}

void HandlerTemplate::appendLines(std::string& out, const std::vector<Line>& lines,
                                  const TemplateValues& values, std::string_view ending) {
    for (const Line& line : lines) {
        for (const Piece& piece : line)
            out.append(piece.placeholder == Placeholder::None ? piece.literal
                                                              : valueOf(piece.placeholder, values));
        out.append("  ");
        out.append(kMarker);
        out.append(ending);
    }
}

void HandlerTemplate::appendTrap(std::string& out, const TemplateValues& values,
                                 std::string_view ending) const {
    appendLines(out, trap_, values, ending);
}

void HandlerTemplate::appendBlock(std::string& out, const TemplateValues& values,
                                  std::string_view ending) const {
    appendLines(out, block_, values, ending);
}

} // namespace faultward

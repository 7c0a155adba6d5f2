#include "rewrite/handler_template.h"

#include "rewrite/handler_format.h"
#include "rewrite/procedure_lines.h"
#include "rewrite/text_lines.h"

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

} // namespace

std::optional<HandlerTemplate> HandlerTemplate::parse(std::string_view text, std::string& error) {
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
    }
    if (parsed.trap_.empty() || parsed.block_.empty()) {
        error = parsed.trap_.empty() ? "no [trap] section with a line in it"
                                     : "no [handler] section with a line in it";
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

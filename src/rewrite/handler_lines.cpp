#include "rewrite/handler_lines.h"

#include "rewrite/handler_format.h"
#include "rewrite/text_lines.h"

namespace faultward {

std::string_view moduleName(std::string_view content) {
    constexpr std::string_view kNameAttribute = "Attribute VB_Name = \"";
    for (std::size_t at = content.find(kNameAttribute); at != std::string_view::npos;
         at = content.find(kNameAttribute, at + 1)) {
        if (at > 0 && content[at - 1] != '\n' && content[at - 1] != '\r')
            continue;
        const std::string_view rest = content.substr(at + kNameAttribute.size());
        return rest.substr(0, rest.find_first_of("\"\r\n"));
    }
    return {};
}

HandlerLines::HandlerLines(const InsertionOptions& options, const SourceFacts& facts,
                           std::string_view content)
    // Only templates name the module; spare every other file the search.
    : options_(options), facts_(facts),
      module_(options.handlerTemplate ? moduleName(content) : std::string_view()) {}

void HandlerLines::trap(std::string& out, const InsertionState& state, ProcedureKind kind,
                        std::string_view ending) const {
    if (options_.handlerTemplate)
        options_.handlerTemplate->appendTrap(out, values(state, kind), ending);
    else
        appendTrapLine(out, withoutTypeCharacter(state.name), ending);
}

void HandlerLines::block(std::string& out, const InsertionState& state, ProcedureKind kind,
                         std::string_view ending) const {
    if (options_.handlerTemplate)
        options_.handlerTemplate->appendBlock(out, values(state, kind), ending);
    else
        appendHandlerBlock(out, withoutTypeCharacter(state.name), options_.mode, ending, kind);
}

HandlerFit HandlerLines::fit(const InsertionState& state, ProcedureKind kind) const {
    // The mode's lines are no longer than the head the name comes from.
    if (!options_.handlerTemplate)
        return {{std::string(kLabelPrefix) + std::string(withoutTypeCharacter(state.name))}};
    std::string lines;
    trap(lines, state, kind, "\n");
    block(lines, state, kind, "\n");
    HandlerFit fit;
    LineCursor cursor(lines);
    std::string_view line;
    while (cursor.next(line)) {
        fit.tooLong |= line.size() > kLongestSourceLine;
        if (const std::string_view label = labelDefinedBy(line); !label.empty())
            fit.labels.emplace_back(label);
    }
    return fit;
}

TemplateValues HandlerLines::values(const InsertionState& state, ProcedureKind kind) const {
    const std::string_view project =
        facts_.projectName.empty() ? std::string_view(options_.projectName) : facts_.projectName;
    // One placeholder serves the label and the text, and the label cannot
    // carry a type character.
    return {withoutTypeCharacter(state.name), module_, facts_.fileName, project,
            exitStatement(kind)};
}

} // namespace faultward

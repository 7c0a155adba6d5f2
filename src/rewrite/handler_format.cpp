#include "rewrite/handler_format.h"

#include "platform/windows_names.h"
#include "rewrite/text_lines.h"

#include <vector>

namespace faultward {
namespace {

// The statements of the added lines; every line gets two blanks and the
// marker after its statement.
constexpr std::string_view kTrapStatement = "ON ERROR GOTO ERR_";
constexpr std::string_view kMessageStatement = "  MsgBox ERR.number & \"- \" & Err.description";
constexpr std::string_view kCentralCallIndent = "  ";
constexpr std::string_view kResumeStatement = "  RESUME NEXT";

void endMarkedLine(std::string& out, std::string_view ending) {
    out.append("  ");
    out.append(kMarker);
    out.append(ending);
}

void appendMarkedLine(std::string& out, std::string_view statement, std::string_view ending) {
    out.append(statement);
    endMarkedLine(out, ending);
}

// A handler block is the same text around the procedure's name for every
// procedure of a kind, so it is put together once and appended in two pieces:
// a file gets a block for every procedure, and piecing each together from its
// statements cost more than the rest of the insertion.
struct BlockText {
    std::string beforeName;
    std::string afterName;
};

BlockText makeBlockText(HandlingMode mode, ProcedureKind kind, std::string_view ending) {
    BlockText text;
    appendMarkedLine(text.beforeName, exitStatement(kind), ending);
    text.beforeName.append(kLabelPrefix);
    text.afterName.append(":");
    endMarkedLine(text.afterName, ending);
    const HandlingMode acted = effectiveMode(mode);
    if (acted == HandlingMode::ShowMessage)
        appendMarkedLine(text.afterName, kMessageStatement, ending);
    else if (acted == HandlingMode::CentralHandler) {
        text.afterName.append(kCentralCallIndent);
        appendMarkedLine(text.afterName, kCentralHandlerName, ending);
    }
    appendMarkedLine(text.afterName, kResumeStatement, ending);
    return text;
}

// The blocks of the three modes that write one, for the three kinds and the
// two line endings.
const BlockText& blockText(HandlingMode mode, ProcedureKind kind, std::string_view ending) {
    static const std::vector<BlockText> table = [] {
        std::vector<BlockText> blocks;
        for (const HandlingMode style : kHandlingModes)
            for (const ProcedureKind each :
                 {ProcedureKind::Sub, ProcedureKind::Function, ProcedureKind::Property})
                for (const LineBreaks breaks : {LineBreaks::CarriageReturn, LineBreaks::LineFeed})
                    blocks.push_back(makeBlockText(style, each, lineEnding(breaks)));
        return blocks;
    }();
    const auto style = static_cast<std::size_t>(storedValue(effectiveMode(mode)));
    const std::size_t kindAt = kind == ProcedureKind::Function   ? 1
                               : kind == ProcedureKind::Property ? 2
                                                                 : 0;
    const std::size_t endingAt = ending == lineEnding(LineBreaks::LineFeed) ? 1 : 0;
    return table[(style * 3 + kindAt) * 2 + endingAt];
}

} // namespace

void appendTrapLine(std::string& out, std::string_view procedureName, std::string_view ending) {
    out.append(kTrapStatement);
    out.append(procedureName);
    endMarkedLine(out, ending);
}

void appendHandlerBlock(std::string& out, std::string_view procedureName, HandlingMode mode,
                        std::string_view ending, ProcedureKind kind) {
    const auto append = [&](const BlockText& text) {
        out.append(text.beforeName);
        out.append(procedureName);
        out.append(text.afterName);
    };
    if (ending == lineEnding(LineBreaks::CarriageReturn) ||
        ending == lineEnding(LineBreaks::LineFeed))
        append(blockText(mode, kind, ending));
    else
        append(makeBlockText(mode, kind, ending));
}

std::string_view withoutTypeCharacter(std::string_view procedureName) {
    if (!procedureName.empty() &&
        std::string_view("%&!#@$").find(procedureName.back()) != std::string_view::npos)
        procedureName.remove_suffix(1);
    return procedureName;
}

bool isCentralHandler(std::string_view procedureName) {
    return equalIgnoringAsciiCase(procedureName, kCentralHandlerName);
}

std::string trapLine(std::string_view procedureName) {
    std::string line;
    appendTrapLine(line, procedureName, {});
    return line;
}

} // namespace faultward

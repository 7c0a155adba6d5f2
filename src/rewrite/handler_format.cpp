#include "rewrite/handler_format.h"

#include "platform/windows_names.h"

namespace faultward {
namespace {

// The statements of the added lines; every line gets two blanks and the
// marker after its statement.
constexpr std::string_view kTrapStatement = "ON ERROR GOTO ERR_";
constexpr std::string_view kLabelPrefix = "ERR_";
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

} // namespace

void appendTrapLine(std::string& out, std::string_view procedureName, std::string_view ending) {
    out.append(kTrapStatement);
    out.append(procedureName);
    endMarkedLine(out, ending);
}

void appendHandlerBlock(std::string& out, std::string_view procedureName, int mode,
                        std::string_view ending, ProcedureKind kind) {
    appendMarkedLine(out, exitStatement(kind), ending);
    out.append(kLabelPrefix);
    out.append(procedureName);
    out.append(":");
    endMarkedLine(out, ending);
    if (mode == ShowMessage)
        appendMarkedLine(out, kMessageStatement, ending);
    else if (mode == CentralHandler) {
        out.append(kCentralCallIndent);
        appendMarkedLine(out, kCentralHandlerName, ending);
    }
    appendMarkedLine(out, kResumeStatement, ending);
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

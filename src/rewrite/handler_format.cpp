#include "rewrite/handler_format.h"

namespace faultward {
namespace {

constexpr std::string_view kTail = "  '~Faultward~";
constexpr std::string_view kExitLine = "EXIT SUB  '~Faultward~";
constexpr std::string_view kMessageLine =
    "  MsgBox ERR.number & \"- \" & Err.description  '~Faultward~";
constexpr std::string_view kCentralCallLine = "  I_Process_Errors  '~Faultward~";
constexpr std::string_view kResumeLine = "  RESUME NEXT  '~Faultward~";

} // namespace

void appendTrapLine(std::string& out, std::string_view procedureName, std::string_view ending) {
    out.append("ON ERROR GOTO ERR_");
    out.append(procedureName);
    out.append(kTail);
    out.append(ending);
}

void appendHandlerBlock(std::string& out, std::string_view procedureName, int mode,
                        std::string_view ending) {
    out.append(kExitLine);
    out.append(ending);
    out.append("ERR_");
    out.append(procedureName);
    out.append(":");
    out.append(kTail);
    out.append(ending);
    if (mode == ShowMessage) {
        out.append(kMessageLine);
        out.append(ending);
    } else if (mode == CentralHandler) {
        out.append(kCentralCallLine);
        out.append(ending);
    }
    out.append(kResumeLine);
    out.append(ending);
}

std::string trapLine(std::string_view procedureName) {
    std::string line;
    appendTrapLine(line, procedureName, {});
    return line;
}

} // namespace faultward

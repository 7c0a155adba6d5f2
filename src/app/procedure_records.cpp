#include "app/procedure_records.h"

#include "platform/display_text.h"

#include <algorithm>
#include <cstdio>

namespace faultward {
namespace {

// "\"Run\"": the text as a JSON string, control characters escaped.
std::string jsonString(std::string_view utf8) {
    std::string text = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            text += escaped;
        } else {
            text += c;
        }
    }
    return text + "\"";
}

std::string_view stateName(const ProcedureRecord& record) {
    if (!record.leftAlone.empty())
        return "left-alone";
    switch (record.handler) {
    case ProcedureRecord::Handler::Tools:
        return "handler";
    case ProcedureRecord::Handler::Own:
        return "own-handler";
    case ProcedureRecord::Handler::None:
        break;
    }
    return "no-handler";
}

} // namespace

std::vector<ProcedureRecord> procedureRecords(std::string_view entry, const FileSurvey& survey,
                                              const LeaveList& leave) {
    std::vector<ProcedureRecord> records;
    const std::vector<SurveyedProcedure>& procedures = survey.procedures;
    for (std::size_t i = 0; i < procedures.size(); ++i) {
        const SurveyedProcedure& procedure = procedures[i];
        ProcedureRecord record;
        record.line = procedure.line;
        record.kind = procedure.keyword;
        record.name = procedure.name;
        // This tool's lines of a procedure lie between its head and the next.
        const std::size_t next =
            i + 1 < procedures.size() ? procedures[i + 1].line : static_cast<std::size_t>(-1);
        const bool marked =
            std::any_of(survey.markedLines.begin(), survey.markedLines.end(),
                        [&](std::size_t line) { return line > procedure.line && line < next; });
        if (procedure.trapped)
            record.handler =
                marked ? ProcedureRecord::Handler::Tools : ProcedureRecord::Handler::Own;
        record.listed = leave.leavesProcedure(entry, procedure.name);
        if (procedure.leftAlone != LeftAlone::No)
            record.leftAlone = leftAloneReason(procedure.leftAlone, procedure.kind);
        else if (record.listed)
            record.leftAlone = "listed in [Leave]";
        records.push_back(std::move(record));
    }
    return records;
}

std::string procedureStateText(const ProcedureRecord& record) {
    if (!record.leftAlone.empty())
        return "left alone: " + record.leftAlone;
    switch (record.handler) {
    case ProcedureRecord::Handler::Tools:
        return "has a handler";
    case ProcedureRecord::Handler::Own:
        return "handles its own errors";
    case ProcedureRecord::Handler::None:
        break;
    }
    return "no handler";
}

void ProcedureJson::add(std::string_view entry, const std::vector<ProcedureRecord>& records) {
    const std::string file = jsonString(entryDisplayText(entry));
    for (const ProcedureRecord& record : records) {
        items_ += items_.empty() ? "[\n" : ",\n";
        items_ += "{\"file\": " + file + ", \"line\": " + std::to_string(record.line) +
                  ", \"kind\": " + jsonString(record.kind) +
                  ", \"name\": " + jsonString(entryDisplayText(record.name)) +
                  ", \"state\": " + jsonString(stateName(record)) + ", \"reason\": " +
                  (record.leftAlone.empty() ? std::string("null") : jsonString(record.leftAlone)) +
                  "}";
    }
}

std::string ProcedureJson::text() const {
    return items_.empty() ? "[]\n" : items_ + "\n]\n";
}

} // namespace faultward

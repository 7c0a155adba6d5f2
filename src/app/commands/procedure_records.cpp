#include "app/commands/procedure_records.h"

#include "platform/display_text.h"

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

std::string_view numbersName(LineNumbering numbers) {
    switch (numbers) {
    case LineNumbering::Tools:
        return "tool";
    case LineNumbering::Users:
        return "user";
    case LineNumbering::None:
        break;
    }
    return "none";
}

} // namespace

std::vector<ProcedureRecord> procedureRecords(const FileSurvey& survey) {
    std::vector<ProcedureRecord> records;
    for (const SurveyedProcedure& procedure : survey.procedures) {
        ProcedureRecord record;
        record.line = procedure.line;
        record.kind = procedure.keyword;
        record.name = procedure.name;
        if (procedure.trapped)
            record.handler =
                procedure.marked ? ProcedureRecord::Handler::Tools : ProcedureRecord::Handler::Own;
        record.listed = procedure.leftAlone == LeftAlone::Listed;
        if (procedure.leftAlone != LeftAlone::No)
            record.leftAlone = leftAloneReason(procedure.leftAlone, procedure.kind);
        record.numbers = procedure.numbering;
        records.push_back(std::move(record));
    }
    return records;
}

std::string procedureStateText(const ProcedureRecord& record) {
    std::string text = "no handler";
    if (!record.leftAlone.empty())
        text = "left alone: " + record.leftAlone;
    else if (record.handler == ProcedureRecord::Handler::Tools)
        text = "has a handler";
    else if (record.handler == ProcedureRecord::Handler::Own)
        text = "handles its own errors";
    if (record.numbers == LineNumbering::Tools)
        text += "; numbered";
    else if (record.numbers == LineNumbering::Users)
        text += "; holds line numbers of its own";
    return text;
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
                  ", \"numbers\": " + jsonString(numbersName(record.numbers)) + "}";
    }
}

void ProcedureJson::addFile(std::string_view entry, std::string_view state,
                            std::string_view reason) {
    items_ += items_.empty() ? "[\n" : ",\n";
    items_ += "{\"file\": " + jsonString(entryDisplayText(entry)) +
              ", \"line\": null, \"kind\": null, \"name\": null, \"state\": " + jsonString(state) +
              ", \"reason\": " + jsonString(reason) + ", \"numbers\": null}";
}

std::string ProcedureJson::text() const {
    return items_.empty() ? "[]\n" : items_ + "\n]\n";
}

} // namespace faultward

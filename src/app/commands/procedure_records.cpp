#include "app/commands/procedure_records.h"

#include "platform/display_text.h"

#include <cstdio>

namespace faultward {
namespace {

// "\"Run\"": the text as a JSON string, control characters escaped.
void appendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    std::size_t run = 0; // start of the bytes not yet appended
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte >= 0x20 && byte != '"' && byte != '\\')
            continue;
        out.append(utf8.substr(run, i - run));
        run = i + 1;
        if (byte >= 0x20) {
            out += '\\';
            out += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        }
    }
    out.append(utf8.substr(run));
    out += '"';
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

std::string ProcedureJson::items(std::string_view entry,
                                 const std::vector<ProcedureRecord>& records) {
    std::string file;
    appendJsonString(file, entryDisplayText(entry));
    std::string text;
    for (const ProcedureRecord& record : records) {
        text += begun_ ? ",\n" : "[\n";
        begun_ = true;
        text += "{\"file\": ";
        text += file;
        text += ", \"line\": ";
        text += std::to_string(record.line);
        text += ", \"kind\": ";
        appendJsonString(text, record.kind);
        text += ", \"name\": ";
        appendJsonString(text, entryDisplayText(record.name));
        text += ", \"state\": ";
        appendJsonString(text, stateName(record));
        text += ", \"reason\": ";
        if (record.leftAlone.empty())
            text += "null";
        else
            appendJsonString(text, record.leftAlone);
        text += ", \"numbers\": ";
        appendJsonString(text, numbersName(record.numbers));
        text += '}';
    }
    return text;
}

std::string ProcedureJson::fileItem(std::string_view entry, std::string_view state,
                                    std::string_view reason) {
    std::string text = begun_ ? ",\n" : "[\n";
    begun_ = true;
    text += "{\"file\": ";
    appendJsonString(text, entryDisplayText(entry));
    text += ", \"line\": null, \"kind\": null, \"name\": null, \"state\": ";
    appendJsonString(text, state);
    text += ", \"reason\": ";
    appendJsonString(text, reason);
    text += ", \"numbers\": null}";
    return text;
}

std::string ProcedureJson::end() const {
    return begun_ ? "\n]\n" : "[]\n";
}

} // namespace faultward

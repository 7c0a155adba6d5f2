#include "rewrite/line_numbering.h"

#include "rewrite/handler_format.h"
#include "rewrite/line_number_rule.h"
#include "rewrite/procedure_lines.h"
#include "rewrite/text_lines.h"

#include <charconv>
#include <optional>

namespace faultward {
namespace {

// A line as the file holds it: its text, and its text with the line ending
// exactly as it stands, which every rewritten line keeps.
struct FileLine {
    std::string_view text;
    std::string_view whole;
};

std::vector<FileLine> fileLines(std::string_view content) {
    std::vector<FileLine> lines;
    LineCursor cursor(content);
    std::string_view text;
    while (cursor.next(text)) {
        const char* end = cursor.remaining().data();
        lines.push_back(
            {text, std::string_view(text.data(), static_cast<std::size_t>(end - text.data()))});
    }
    return lines;
}

enum class Job { Number, Unnumber, Count };

// What one procedure body holds, looked at line by line.
struct BodyFacts {
    std::vector<bool> numberable;
    std::size_t numberableCount = 0;
    bool hasNumber = false;
    std::size_t oddLine = 0; // counting from 1 in the file; 0 when there is none
    std::size_t boundaryLine = 0;
    std::size_t jumpLine = 0;
    std::string jumpTarget;
};

// The text of a body line without the number it may carry. Continued lines
// and the lines this tool adds carry none, whatever they start with.
std::string_view statementOf(std::string_view text, bool continued) {
    if (continued || text.find(kMarker) != std::string_view::npos)
        return text;
    return withoutLineNumber(text);
}

BodyFacts lookAtBody(const std::vector<FileLine>& lines, std::size_t first, std::size_t end) {
    BodyFacts facts;
    facts.numberable.resize(end - first);
    NumberableLines rule;
    JumpTargets jumps;
    bool continued = false;
    for (std::size_t i = first; i < end; ++i) {
        const std::string_view text = lines[i].text;
        const bool isContinuation = continued;
        continued = continuesOnNextLine(text);
        const std::string_view statement = statementOf(text, isContinuation);
        if (!isContinuation && text.find(kMarker) == std::string_view::npos) {
            facts.hasNumber |= lineNumberLength(text) > 0;
            if (facts.oddLine == 0 && startsWithOddNumber(text))
                facts.oddLine = i + 1;
            if (facts.boundaryLine == 0 && looksLikeProcedureBoundary(text))
                facts.boundaryLine = i + 1;
        }
        jumps.add(statement);
        if (rule.accepts(statement)) {
            facts.numberable[i - first] = true;
            ++facts.numberableCount;
        }
    }
    if (const auto target = jumps.target()) {
        facts.jumpTarget = *target;
        facts.jumpLine = first + jumps.line();
    }
    return facts;
}

// Why the body must stay as it is, if it must.
std::optional<LeftWholeReason> reasonToLeave(const BodyFacts& facts, Job job,
                                             const NumberingOptions& options,
                                             std::size_t& detailLine) {
    if (job == Job::Unnumber && !facts.hasNumber && facts.oddLine == 0)
        return std::nullopt;
    if (facts.boundaryLine != 0) {
        detailLine = facts.boundaryLine;
        return LeftWholeReason::LookAlike;
    }
    if (facts.oddLine != 0) {
        detailLine = facts.oddLine;
        return LeftWholeReason::OddNumber;
    }
    if (facts.jumpLine != 0) {
        detailLine = facts.jumpLine;
        return LeftWholeReason::JumpTarget;
    }
    if (job == Job::Number && facts.numberableCount > 0) {
        const long long last = static_cast<long long>(options.start) +
                               static_cast<long long>(facts.numberableCount - 1) * options.step;
        if (last > kHighestLineNumber)
            return LeftWholeReason::TooManyLines;
    }
    return std::nullopt;
}

// Walks the procedures of a file, writing out as it goes.
class NumberingWalk {
public:
    NumberingWalk(Job job, const NumberingOptions& options, OutputPieces* out)
        : job_(job), options_(options), out_(out) {}

    NumberingResult run(std::string_view content) {
        lines_ = fileLines(content);
        std::size_t i = 0;
        while (i < lines_.size()) {
            const std::optional<ProcedureHead> head =
                procedureHead(lines_[i].text, options_.procedures);
            keep(lines_[i]);
            if (!head) {
                ++i;
                continue;
            }
            const std::size_t headLine = i;
            while (continuesOnNextLine(lines_[i].text) && i + 1 < lines_.size())
                keep(lines_[++i]);
            ++i;
            if (endsWithInlineEnd(lines_[i - 1].text, head->kind))
                continue;
            // Procedures do not nest: the body ends at the next head or end of
            // any kind, which must be this procedure's own end.
            std::size_t end = i;
            while (end < lines_.size() && !procedureEnd(lines_[end].text, kAllProcedureKinds) &&
                   !procedureHead(lines_[end].text, kAllProcedureKinds))
                ++end;
            const bool ended =
                end < lines_.size() && procedureEnd(lines_[end].text, head->kind).has_value();
            ProcedureLeftWhole procedure;
            procedure.line = headLine + 1;
            procedure.keyword = head->keyword;
            procedure.name = procedureNameAt(lines_[headLine].text, head->nameStart);
            body(procedure, i, end, ended);
            i = end;
        }
        result_.changed = changed_;
        return std::move(result_);
    }

    std::size_t numbered() const { return numbered_; }

private:
    void keep(const FileLine& line) {
        if (out_)
            out_->keep(line.whole);
    }

    void keepAll(std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i)
            keep(lines_[i]);
    }

    void body(ProcedureLeftWhole& procedure, std::size_t first, std::size_t end, bool ended) {
        if (!ended) {
            // Without its end the body's extent is a guess: nothing is changed.
            keepAll(first, end);
            if (job_ != Job::Count && first < end) {
                procedure.reason = LeftWholeReason::MissingEnd;
                procedure.detailLine = end < lines_.size() ? end + 1 : 0;
                if (hasAnyNumberOrMayGetOne(first, end))
                    result_.leftWhole.push_back(std::move(procedure));
            }
            return;
        }
        const BodyFacts facts = lookAtBody(lines_, first, end);
        if (job_ == Job::Count) {
            numbered_ += facts.hasNumber;
            return;
        }
        std::size_t detailLine = 0;
        if (const auto reason = reasonToLeave(facts, job_, options_, detailLine)) {
            keepAll(first, end);
            procedure.reason = *reason;
            procedure.detailLine = detailLine;
            procedure.target = facts.jumpTarget;
            result_.leftWhole.push_back(std::move(procedure));
            return;
        }
        rewrite(facts, first, end);
    }

    // Whether leaving a procedure without its end alone loses the user
    // anything worth a word: numbering would have numbered some line, or
    // unnumbering found a number.
    bool hasAnyNumberOrMayGetOne(std::size_t first, std::size_t end) const {
        if (job_ == Job::Number)
            return true;
        bool continued = false;
        for (std::size_t i = first; i < end; ++i) {
            if (!continued && lineNumberLength(lines_[i].text) > 0)
                return true;
            continued = continuesOnNextLine(lines_[i].text);
        }
        return false;
    }

    void rewrite(const BodyFacts& facts, std::size_t first, std::size_t end) {
        text_.clear();
        long long number = options_.start;
        char digits[16];
        bool continued = false;
        for (std::size_t i = first; i < end; ++i) {
            const FileLine& line = lines_[i];
            const bool isContinuation = continued;
            continued = continuesOnNextLine(line.text);
            const std::string_view statement = statementOf(line.text, isContinuation);
            if (job_ == Job::Number && facts.numberable[i - first]) {
                const auto written = std::to_chars(digits, digits + sizeof digits, number);
                text_.append(digits, written.ptr);
                text_ += ' ';
                number += options_.step;
            }
            text_.append(statement);
            text_.append(line.whole.substr(line.text.size()));
        }
        const char* from = lines_[first].whole.data();
        const std::string_view before(from, static_cast<std::size_t>(lines_[end - 1].whole.data() +
                                                                     lines_[end - 1].whole.size() -
                                                                     from));
        if (text_ == before) {
            keepAll(first, end);
            return;
        }
        changed_ = true;
        out_->added().append(text_);
    }

    Job job_;
    const NumberingOptions& options_;
    OutputPieces* out_;
    std::vector<FileLine> lines_;
    std::string text_;
    NumberingResult result_;
    bool changed_ = false;
    std::size_t numbered_ = 0;
};

} // namespace

NumberingResult numberLines(std::string_view content, const NumberingOptions& options,
                            OutputPieces& out) {
    return NumberingWalk(Job::Number, options, &out).run(content);
}

NumberingResult unnumberLines(std::string_view content, ProcedureKinds procedures,
                              OutputPieces& out) {
    NumberingOptions options;
    options.procedures = procedures;
    return NumberingWalk(Job::Unnumber, options, &out).run(content);
}

std::size_t numberedProcedureCount(std::string_view content, ProcedureKinds procedures) {
    NumberingOptions options;
    options.procedures = procedures;
    NumberingWalk walk(Job::Count, options, nullptr);
    walk.run(content);
    return walk.numbered();
}

std::string leftWholeMessage(std::string_view entry, const ProcedureLeftWhole& procedure) {
    std::string text(entry);
    text += ':' + std::to_string(procedure.line) + ": " + procedure.keyword + ' ' + procedure.name +
            " left as it was: ";
    const std::string at = "line " + std::to_string(procedure.detailLine);
    switch (procedure.reason) {
    case LeftWholeReason::JumpTarget:
        text += at + " jumps to line number " + procedure.target;
        break;
    case LeftWholeReason::TooManyLines:
        text += "it would need line numbers above " + std::to_string(kHighestLineNumber);
        break;
    case LeftWholeReason::OddNumber:
        text += at + " starts with a number that is not a line number this tool writes";
        break;
    case LeftWholeReason::LookAlike:
        text += at + " looks like the head or end of a procedure, so its end is unclear";
        break;
    case LeftWholeReason::MissingEnd:
        text += procedure.detailLine == 0 ? std::string("its end line is missing")
                                          : "no end line of its own before " + at;
        break;
    }
    return text;
}

} // namespace faultward

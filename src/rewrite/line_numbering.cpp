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

void fileLines(std::string_view content, std::vector<FileLine>& lines) {
    lines.clear();
    LineCursor cursor(content);
    std::string_view text;
    while (cursor.next(text)) {
        const char* end = cursor.remaining().data();
        lines.push_back(
            {text, std::string_view(text.data(), static_cast<std::size_t>(end - text.data()))});
    }
}

enum class Job { Number, Unnumber, Survey };

// A body line without the number it may carry, and whether it may carry one.
struct BodyLine {
    std::string_view statement;
    bool numberable = false;
};

// What one procedure body holds, looked at line by line.
struct BodyFacts {
    std::vector<BodyLine> lines;
    std::size_t numberableCount = 0;
    LineNumbering numbering = LineNumbering::None;
    // Lines counting from 1 in the file; 0 when there is none.
    std::size_t foreignLine = 0; // shows the numbers are the user's
    std::size_t oddLine = 0;
    std::size_t boundaryLine = 0;
    std::size_t jumpLine = 0;
    std::size_t erlLine = 0;
    std::string jumpTarget;
};

// Lines with the marker are rare, and a tilde rarer than its apostrophe.
bool holdsMarker(std::string_view text) {
    return text.find('~') != std::string_view::npos && text.find(kMarker) != std::string_view::npos;
}

// Fills facts for the body lines [first, end); facts' buffers are kept from
// one body to the next.
void lookAtBody(const std::vector<FileLine>& lines, std::size_t first, std::size_t end,
                BodyFacts& facts) {
    facts.lines.clear();
    facts.numberableCount = 0;
    facts.foreignLine = facts.oddLine = facts.boundaryLine = facts.jumpLine = facts.erlLine = 0;
    facts.jumpTarget.clear();
    NumberableLines rule;
    LineReferences references;
    NumberingOwner owner;
    for (std::size_t i = first; i < end; ++i) {
        const std::string_view text = lines[i].text;
        const bool isContinuation = rule.nextIsContinued();
        const bool marked = holdsMarker(text);
        // Continued lines and the lines this tool adds carry no number,
        // whatever they start with.
        std::string_view statement = text;
        if (!isContinuation && !marked) {
            statement = withoutLineNumber(text);
            if (facts.oddLine == 0 && startsWithOddNumber(text))
                facts.oddLine = i + 1;
            if (facts.boundaryLine == 0 && looksLikeProcedureBoundary(statement))
                facts.boundaryLine = i + 1;
        }
        const bool numberable = rule.accepts(statement);
        const std::size_t numberLength =
            statement.size() == text.size() ? 0 : lineNumberLength(text);
        owner.add(text.substr(0, numberLength), numberable);
        references.add(statement, rule.lastGoesOn(), marked);
        facts.lines.push_back({statement, numberable});
        facts.numberableCount += numberable;
    }
    // Numbers of a form numbering never writes are the user's too.
    facts.numbering = facts.oddLine != 0 ? LineNumbering::Users : owner.owner();
    if (owner.foreignLine() != 0)
        facts.foreignLine = first + owner.foreignLine();
    if (const auto target = references.jumpTarget()) {
        facts.jumpTarget = *target;
        facts.jumpLine = first + references.jumpLine();
    }
    if (references.erlLine() != 0)
        facts.erlLine = first + references.erlLine();
}

// Why the body must stay as it is, if it must.
std::optional<LeftWholeReason> reasonToLeave(const BodyFacts& facts, Job job,
                                             const NumberingOptions& options,
                                             std::size_t& detailLine) {
    // Unnumbering has nothing to take out, so nothing to leave.
    if (job == Job::Unnumber && facts.numbering == LineNumbering::None)
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
    if (facts.erlLine != 0) {
        detailLine = facts.erlLine;
        return LeftWholeReason::ErlComparison;
    }
    if (facts.numbering == LineNumbering::Users) {
        detailLine = facts.foreignLine;
        return LeftWholeReason::UsersNumbers;
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
    NumberingWalk(Job job, const NumberingOptions& options, OutputPieces* out,
                  std::string_view entry = {})
        : job_(job), options_(options), out_(out), listed_{options.leave.get(), entry} {}

    NumberingResult run(std::string_view content) {
        fileLines(content, lines_);
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
            body(Procedure{headLine, *head}, i, end, ended);
            i = end;
        }
        result_.changed = changed_;
        return std::move(result_);
    }

    std::vector<ProcedureNumbering> takeSurvey() { return std::move(survey_); }

private:
    void keep(const FileLine& line) {
        if (out_)
            out_->keep(line.whole);
    }

    void keepAll(std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i)
            keep(lines_[i]);
    }

    // A procedure's head, by its line.
    struct Procedure {
        std::size_t headLine;
        ProcedureHead head;
    };

    void leaveWhole(const Procedure& procedure, LeftWholeReason reason, std::size_t detailLine,
                    const std::string& target = {}) {
        ProcedureLeftWhole left;
        left.line = procedure.headLine + 1;
        left.keyword = procedure.head.keyword;
        left.name = procedureNameAt(lines_[procedure.headLine].text, procedure.head.nameStart);
        left.reason = reason;
        left.detailLine = detailLine;
        left.target = target;
        result_.leftWhole.push_back(std::move(left));
    }

    void body(const Procedure& procedure, std::size_t first, std::size_t end, bool ended) {
        BodyFacts& facts = facts_;
        if (job_ == Job::Survey) {
            lookAtBody(lines_, first, end, facts);
            survey_.push_back({procedure.headLine + 1, facts.numbering});
            return;
        }
        // The user's choice, not a problem: nothing to say.
        if (listed_.names(
                procedureNameAt(lines_[procedure.headLine].text, procedure.head.nameStart))) {
            keepAll(first, end);
            return;
        }
        if (!ended) {
            // Without its end the body's extent is a guess: nothing is changed.
            keepAll(first, end);
            if (first < end && hasAnyNumberOrMayGetOne(first, end))
                leaveWhole(procedure, LeftWholeReason::MissingEnd,
                           end < lines_.size() ? end + 1 : 0);
            return;
        }
        lookAtBody(lines_, first, end, facts);
        std::size_t detailLine = 0;
        if (const auto reason = reasonToLeave(facts, job_, options_, detailLine)) {
            keepAll(first, end);
            leaveWhole(procedure, *reason, detailLine, facts.jumpTarget);
            return;
        }
        if (job_ == Job::Unnumber && facts.numbering == LineNumbering::None) {
            keepAll(first, end);
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

    // Writes the body with its numbers, straight into the output; a body
    // that comes out as it was is kept as input instead.
    void rewrite(const BodyFacts& facts, std::size_t first, std::size_t end) {
        std::string& text = out_->added();
        const std::size_t mark = text.size();
        long long number = options_.start;
        char digits[16];
        for (std::size_t i = first; i < end; ++i) {
            const FileLine& line = lines_[i];
            const BodyLine& body = facts.lines[i - first];
            if (job_ == Job::Number && body.numberable) {
                const auto written = std::to_chars(digits, digits + sizeof digits, number);
                text.append(digits, written.ptr);
                text += ' ';
                number += options_.step;
            }
            text.append(body.statement);
            text.append(line.whole.substr(line.text.size()));
        }
        const char* from = lines_[first].whole.data();
        const std::string_view before(from, static_cast<std::size_t>(lines_[end - 1].whole.data() +
                                                                     lines_[end - 1].whole.size() -
                                                                     from));
        if (std::string_view(text).substr(mark) == before) {
            text.resize(mark);
            keepAll(first, end);
            return;
        }
        changed_ = true;
    }

    Job job_;
    const NumberingOptions& options_;
    OutputPieces* out_;
    ListedProcedures listed_;
    // Not kept per thread from one file to the next: thread_local objects
    // with destructors are not safe in the statically linked Windows build.
    std::vector<FileLine> lines_;
    BodyFacts facts_;
    NumberingResult result_;
    bool changed_ = false;
    std::vector<ProcedureNumbering> survey_;
};

} // namespace

NumberingResult numberLines(std::string_view content, const NumberingOptions& options,
                            OutputPieces& out, std::string_view entry) {
    return NumberingWalk(Job::Number, options, &out, entry).run(content);
}

NumberingResult unnumberLines(std::string_view content, const NumberingOptions& options,
                              OutputPieces& out, std::string_view entry) {
    return NumberingWalk(Job::Unnumber, options, &out, entry).run(content);
}

NumberingResult unnumberLines(std::string_view content, ProcedureKinds procedures,
                              OutputPieces& out) {
    NumberingOptions options;
    options.procedures = procedures;
    return unnumberLines(content, options, out);
}

std::vector<ProcedureNumbering> procedureNumberings(std::string_view content,
                                                    ProcedureKinds procedures) {
    NumberingOptions options;
    options.procedures = procedures;
    NumberingWalk walk(Job::Survey, options, nullptr);
    walk.run(content);
    return walk.takeSurvey();
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
    case LeftWholeReason::ErlComparison:
        text += at + " compares Erl with a line number";
        break;
    case LeftWholeReason::UsersNumbers:
        text += "it holds line numbers of its own (" + at + ")";
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

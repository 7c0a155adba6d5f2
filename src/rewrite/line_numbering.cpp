#include "rewrite/line_numbering.h"

#include "rewrite/handler_format.h"
#include "rewrite/line_number_rule.h"
#include "rewrite/procedure_lines.h"
#include "rewrite/text_lines.h"

#include <algorithm>
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
    lines.reserve(countByte(content, '\n') + 1);
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
    std::string_view number; // the number it starts with; empty for none
    bool numberable = false;
};

// What one procedure body holds, looked at line by line.
struct BodyFacts {
    std::vector<BodyLine> lines;
    std::size_t numberableCount = 0;
    LineNumbering numbering = LineNumbering::None;
    // Lines counting from 1 in the file; 0 when there is none.
    std::size_t foreignLine = 0; // shows the numbers are the user's
    UsersNumbersSign sign = UsersNumbersSign::None;
    std::size_t oddLine = 0;
    std::size_t boundaryLine = 0;
    std::size_t jumpLine = 0;
    std::size_t erlLine = 0;
    std::string jumpTarget;
};

// Fills facts for the body lines [first, end); facts' buffers are kept from
// one body to the next. A survey asks only whose numbers the body holds, so
// it spares the look at jumps, Erl and look-alike lines.
void lookAtBody(const std::vector<FileLine>& lines, std::size_t first, std::size_t end,
                BodyFacts& facts, Job job) {
    const bool survey = job == Job::Survey;
    facts.lines.clear();
    facts.numberableCount = 0;
    facts.foreignLine = facts.oddLine = facts.boundaryLine = facts.jumpLine = facts.erlLine = 0;
    facts.jumpTarget.clear();
    facts.numbering = LineNumbering::None;
    facts.sign = UsersNumbersSign::None;
    if (survey && std::none_of(lines.begin() + static_cast<std::ptrdiff_t>(first),
                               lines.begin() + static_cast<std::ptrdiff_t>(end),
                               [](const FileLine& line) { return mayHoldLineNumber(line.text); }))
        return;
    NumberableLines rule;
    LineReferences references;
    NumberingOwner owner;
    for (std::size_t i = first; i < end; ++i) {
        const std::string_view text = lines[i].text;
        const bool isContinuation = rule.nextIsContinued();
        const bool marked = lineHoldsMarker(text);
        // Continued lines and the lines this tool adds carry no number,
        // whatever they start with.
        std::string_view statement = text;
        if (!isContinuation && !marked) {
            statement = withoutLineNumber(text);
            if (facts.oddLine == 0 && startsWithOddNumber(text))
                facts.oddLine = i + 1;
            if (!survey && facts.boundaryLine == 0 && looksLikeProcedureBoundary(statement))
                facts.boundaryLine = i + 1;
        }
        const bool numberable = rule.accepts(statement);
        const std::size_t numberLength =
            statement.size() == text.size() ? 0 : lineNumberLength(text);
        const std::string_view number = text.substr(0, numberLength);
        owner.add(number, numberable,
                  numberLength > 0 && numberLength < text.size() && text[numberLength] == '\t');
        if (!survey) {
            references.add(statement, rule.lastGoesOn(), marked);
            facts.lines.push_back({statement, number, numberable});
        }
        facts.numberableCount += numberable;
    }
    // Numbers of a form numbering never writes are the user's too.
    facts.numbering = facts.oddLine != 0 ? LineNumbering::Users : owner.owner();
    if (owner.foreignLine() != 0)
        facts.foreignLine = first + owner.foreignLine();
    facts.sign = owner.sign();
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
    if (facts.numbering == LineNumbering::Users && !options.renumber) {
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
        return walk();
    }

    // A survey, over lines split already; their endings are never asked for.
    void survey(std::span<const std::string_view> lines) {
        lines_.clear();
        lines_.reserve(lines.size());
        for (const std::string_view line : lines)
            lines_.push_back({line, line});
        walk();
    }

    std::vector<ProcedureNumbering> takeSurvey() { return std::move(survey_); }

private:
    NumberingResult walk() {
        std::size_t i = 0;
        while (i < lines_.size()) {
            const std::optional<ProcedureHead> head =
                procedureHead(lines_[i].text, options_.procedures);
            keep(lines_[i]);
            if (!head) {
                indentedHead(i);
                ++i;
                continue;
            }
            const std::size_t headLine = i;
            while (continuesOnNextLine(lines_[i].text) && i + 1 < lines_.size())
                keep(lines_[++i]);
            ++i;
            if (endsWithInlineEnd(lines_[i - 1].text, head->kind)) {
                twins_.clear();
                continue;
            }
            // Procedures do not nest: the body ends at the next head or end of
            // any kind, which must be this procedure's own end.
            const std::size_t end = bodyEnd(i);
            if (twinHeads(i, end, head->kind)) {
                // #If ... #Else with a head in each branch: one procedure, whose
                // body follows the last head.
                twins_.push_back(headLine);
                keepAll(i, end);
                i = end;
                continue;
            }
            const bool ended =
                end < lines_.size() && procedureEnd(lines_[end].text, head->kind).has_value();
            body(Procedure{headLine, *head}, i, end, ended);
            twins_.clear();
            i = end;
        }
        result_.changed = changed_;
        return std::move(result_);
    }

    std::size_t bodyEnd(std::size_t first) const {
        std::size_t end = first;
        while (end < lines_.size() && !procedureEnd(lines_[end].text, kAllProcedureKinds) &&
               !procedureHead(lines_[end].text, kAllProcedureKinds))
            ++end;
        return end;
    }

    // Whether the lines [first, end) stand between two heads of one
    // procedure under #If: only directives, among them an #Else or #ElseIf,
    // comments, blank lines and this tool's lines, before a head of the kind.
    bool twinHeads(std::size_t first, std::size_t end, ProcedureKind kind) const {
        if (end >= lines_.size() || !procedureHead(lines_[end].text, kind))
            return false;
        bool otherBranch = false;
        for (std::size_t i = first; i < end; ++i) {
            const std::string_view text = lines_[i].text;
            const std::size_t code = text.find_first_not_of(" \t");
            if (code == std::string_view::npos || text[code] == '\'' || lineHoldsMarker(text))
                continue;
            if (text[code] != '#')
                return false;
            const std::string_view directive = text.substr(code + 1);
            otherBranch |= directive.size() >= 4 && (directive[0] | 0x20) == 'e' &&
                           (directive[1] | 0x20) == 'l' && (directive[2] | 0x20) == 's' &&
                           (directive[3] | 0x20) == 'e';
        }
        return otherBranch;
    }

    // A head of a chosen kind after blanks: the passes do not take it for a
    // head, so its body is kept, and named when it would have been worked on.
    void indentedHead(std::size_t i) {
        const std::string_view text = lines_[i].text;
        const std::optional<ProcedureHead> head = indentedProcedureHead(text, options_.procedures);
        if (!head || listed_.names(procedureNameAt(text, head->nameStart)))
            return;
        std::size_t first = i;
        while (continuesOnNextLine(lines_[first].text) && first + 1 < lines_.size())
            ++first;
        ++first;
        const std::size_t end = bodyEnd(first);
        if (job_ == Job::Survey || first >= end || !hasAnyNumberOrMayGetOne(first, end))
            return;
        leaveWhole({i, *head}, LeftWholeReason::IndentedHead, 0);
    }

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
                    const std::string& target = {},
                    UsersNumbersSign sign = UsersNumbersSign::None) {
        ProcedureLeftWhole left;
        left.line = procedure.headLine + 1;
        left.keyword = procedure.head.keyword;
        left.name = procedureNameAt(lines_[procedure.headLine].text, procedure.head.nameStart);
        left.reason = reason;
        left.detailLine = detailLine;
        left.target = target;
        left.sign = sign;
        result_.leftWhole.push_back(std::move(left));
    }

    void body(const Procedure& procedure, std::size_t first, std::size_t end, bool ended) {
        BodyFacts& facts = facts_;
        if (job_ == Job::Survey) {
            lookAtBody(lines_, first, end, facts, job_);
            for (const std::size_t twin : twins_)
                survey_.push_back({twin + 1, facts.numbering});
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
        lookAtBody(lines_, first, end, facts, job_);
        std::size_t detailLine = 0;
        if (const auto reason = reasonToLeave(facts, job_, options_, detailLine)) {
            keepAll(first, end);
            leaveWhole(procedure, *reason, detailLine, facts.jumpTarget, facts.sign);
            return;
        }
        if (job_ == Job::Unnumber && facts.numbering == LineNumbering::None) {
            keepAll(first, end);
            return;
        }
        rewrite(procedure, facts, first, end);
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
    void rewrite(const Procedure& procedure, const BodyFacts& facts, std::size_t first,
                 std::size_t end) {
        std::string& text = out_->added();
        const std::size_t mark = text.size();
        long long number = options_.start;
        char digits[16];
        std::optional<ProcedureRenumbered> changedNumber;
        for (std::size_t i = first; i < end; ++i) {
            const FileLine& line = lines_[i];
            const BodyLine& body = facts.lines[i - first];
            std::string_view written;
            if (job_ == Job::Number && body.numberable) {
                written = std::string_view(
                    digits,
                    static_cast<std::size_t>(
                        std::to_chars(digits, digits + sizeof digits, number).ptr - digits));
                text.append(written);
                text += ' ';
                number += options_.step;
            }
            // Unnumbering the tool's own numbers is what was asked; every
            // other number that goes or changes is said.
            if (!changedNumber && !body.number.empty() && written != body.number &&
                (job_ == Job::Number || options_.renumber))
                changedNumber = ProcedureRenumbered{procedure.headLine + 1,
                                                    std::string(procedure.head.keyword),
                                                    {},
                                                    i + 1,
                                                    std::string(body.number),
                                                    std::string(written)};
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
        if (changedNumber) {
            changedNumber->unnumbered = job_ == Job::Unnumber;
            changedNumber->name =
                procedureNameAt(lines_[procedure.headLine].text, procedure.head.nameStart);
            result_.renumbered.push_back(std::move(*changedNumber));
        }
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
    // The heads of the procedure ahead in the other branches of its #If.
    std::vector<std::size_t> twins_;
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

std::vector<ProcedureNumbering> procedureNumberings(std::span<const std::string_view> lines,
                                                    ProcedureKinds procedures) {
    NumberingOptions options;
    options.procedures = procedures;
    NumberingWalk walk(Job::Survey, options, nullptr);
    walk.survey(lines);
    return walk.takeSurvey();
}

namespace {

// What shows that numbers are the user's, after the line that shows it.
std::string usersNumbersSignText(UsersNumbersSign sign) {
    switch (sign) {
    case UsersNumbersSign::Unnumbered:
        return " has no number";
    case UsersNumbersSign::SecondBare:
        return " is a second statement without a number";
    case UsersNumbersSign::LoneNumber:
        return " holds the only number";
    case UsersNumbersSign::NotOneSpace:
        return " has a tab after its number";
    case UsersNumbersSign::OffStep:
        return " breaks the step of the numbers before it";
    case UsersNumbersSign::OnPassedLine:
        return " has a number where this tool writes none";
    case UsersNumbersSign::NeverWritten:
        return " has a number this tool never writes";
    case UsersNumbersSign::None:
        break;
    }
    return {};
}

} // namespace

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
        text +=
            "it holds line numbers of its own (" + at + usersNumbersSignText(procedure.sign) + ")";
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
    case LeftWholeReason::IndentedHead:
        text += "its head is indented, which this tool does not take for a procedure's head";
        break;
    }
    return text;
}

std::string renumberedMessage(std::string_view entry, const ProcedureRenumbered& procedure) {
    std::string text(entry);
    text += ':' + std::to_string(procedure.line) + ": " + procedure.keyword + ' ' + procedure.name +
            (procedure.unnumbered ? " unnumbered: " : " renumbered: ");
    text += "line " + std::to_string(procedure.detailLine) + " had " + procedure.before;
    if (!procedure.unnumbered)
        text += procedure.after.empty() ? ", now none" : ", now " + procedure.after;
    return text;
}

} // namespace faultward

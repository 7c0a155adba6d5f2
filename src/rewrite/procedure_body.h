#pragma once

#include "rewrite/insertion_options.h"
#include "rewrite/own_handling.h"
#include "rewrite/procedure_kind.h"
#include "rewrite/procedure_lines.h"

#include "platform/windows_names.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// Why insertion gives a recognised procedure neither a trap nor a block.
// Each would otherwise make the project fail to compile, or the procedure
// handles its errors itself and asked to be left so.
enum class LeftAlone : std::uint8_t {
    No,
    // The whole procedure is its head line: a trap after it would stand
    // outside any procedure.
    OneLine,
    // It has an On Error statement of its own and --skip-handled is on.
    OwnHandling,
    // The statement that ends it is not an end line (indented, in other
    // letter case, after a colon, or past the line limit), so it would get
    // the trap but not the label the trap jumps to.
    EndNotAnEndLine,
    // Its body already defines the handler's label; labels ignore letter
    // case, and a second one with the same name does not compile.
    LabelTaken,
    // A template's line, filled in for it, is longer than the editor loads.
    LineTooLong,
    // The project's own settings leave it alone: every command keeps it whole.
    Listed,
    // Its head is indented: the passes do not take it for a head.
    IndentedHead,
};

// The words check prints for a reason: "one-line", "its end is not an End
// Sub line", "its label is taken", "listed in [Leave]".
std::string leftAloneReason(LeftAlone reason, ProcedureKind kind);

// The labels a handler defines, to be compared ignoring letter case.
using HandlerLabels = std::vector<std::string>;

// What the handler lines for one procedure are.
struct HandlerFit {
    HandlerLabels labels;
    bool tooLong = false; // a line is longer than the editor loads
};

// The length of the name that text starts with: a letter, then letters,
// digits and underscores; 0 when it starts with no letter.
std::size_t nameLength(std::string_view text);

// The label a line defines: a name at its start, after blanks, followed by
// ':' that is not ":=", blanks allowed before it; empty when it defines none. A line continued from
// the one before has no label.
std::string_view labelDefinedBy(std::string_view line);

// Whether a statement of the line, outside strings and comments, is the End
// statement of the kind ("End Sub", in any letter case and spacing), at the
// start of the line or after a colon. atStatementStart is false for a line
// continued from the one before, whose beginning is no statement's.
bool holdsEndStatement(std::string_view line, ProcedureKind kind, bool atStatementStart = true);

// What a line of a body holds, as the two above tell, found in one look:
// most lines hold neither, and no colon, which both need but an end at the
// line's start.
struct BodyLine {
    bool end = false;
    std::string_view label;
};
BodyLine inspectBodyLine(std::string_view line, ProcedureKind kind, bool atStatementStart);

// What the lines after a head hold, up to the first End statement of the
// head's kind.
struct ProcedureBody {
    bool endFound = false;     // within what may be looked at
    bool endIsEndLine = false; // and that line is an end line
    bool labelTaken = false;   // a line before it defines one of the labels
    BodyTraps traps;           // as bodyTraps() sees them
};

// Why a procedure with this body is left alone, if it is; the one-line case
// is the head's to tell.
LeftAlone verdictOn(const ProcedureBody& body, const HandlerFit& handler,
                    const InsertionOptions& options);

// What the scans of one text found, so that a text of many heads and few
// Ends (a stranger's, or a broken one) is not read once for each head: per
// kind, where a scan found no End up to the end of what may be looked at,
// and the last stretch a scan read to its End, with the labels on its way.
// A line after a scan's first looks the same to every scan that reaches it,
// and a first line is looked at as a statement's start, which finds an End
// wherever a continued line would (but may define a label a continued line
// does not): so a later scan that comes to a line after an earlier scan's
// first has the earlier one's answer from there on.
class ScannedStretches {
public:
    struct Label {
        const char* at;
        std::string_view name;
    };
    // A stretch read to its End: from the line after `from` up to `end`.
    struct ToEnd {
        const char* from = nullptr;
        const char* end = nullptr;
        bool endIsEndLine = false;
        std::vector<Label> labels; // of lines after from, this tool's left out

        // The labels of the line at at and after it.
        std::span<const Label> labelsFrom(const char* at) const {
            return {std::partition_point(labels.begin(), labels.end(),
                                         [&](const Label& label) { return before(label.at, at); }),
                    labels.end()};
        }
    };

    // Whether no End of the kind lies at or after the line starting at at.
    bool endlessFrom(ProcedureKind kind, const char* at) const {
        const char* from = endless_[slot(kind)];
        return from != nullptr && !before(at, from);
    }
    // The stretch whose End is the next one after the line at at.
    const ToEnd* toEndPast(ProcedureKind kind, const char* at) const {
        const ToEnd& known = toEnd_[slot(kind)];
        return known.end != nullptr && before(known.from, at) && before(at, known.end) ? &known
                                                                                       : nullptr;
    }

    void foundEndlessFrom(ProcedureKind kind, const char* at) {
        const char*& from = endless_[slot(kind)];
        if (from == nullptr || before(at, from))
            from = at;
    }
    // The labels of a scan on its way, before it knows where it ends.
    std::vector<Label>& labelsOnTheWay() { return onTheWay_; }
    void foundEnd(ProcedureKind kind, const char* from, const char* end, bool endIsEndLine) {
        ToEnd& known = toEnd_[slot(kind)];
        known.from = from;
        known.end = end;
        known.endIsEndLine = endIsEndLine;
        known.labels.swap(onTheWay_);
    }

private:
    static bool before(const char* a, const char* b) { return std::less<const char*>()(a, b); }
    static std::size_t slot(ProcedureKind kind) {
        return static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(kind)));
    }
    std::array<const char*, 3> endless_{};
    std::array<ToEnd, 3> toEnd_{};
    std::vector<Label> onTheWay_;
};

// Reads the lines that nextLine(line) gives one by one (false at the end of
// what may be looked at): the body of a procedure of the kind. The On Error
// statements are looked for only when lookForTraps is set. With scanned, the
// scans of one text, made in any order over views into it, take what earlier
// ones found where nothing on the way could change the outcome (labelTaken
// means nothing without an end, and is then left unknown).
template <typename NextLine>
ProcedureBody scanProcedureBody(NextLine&& nextLine, ProcedureKind kind,
                                const HandlerLabels& labels, bool lookForTraps,
                                ScannedStretches* scanned = nullptr) {
    ProcedureBody body;
    bool trapsEnded = !lookForTraps; // bodyTraps() stops at any head or end line
    bool continued = false;
    const char* first = nullptr;
    const auto takeLabel = [&](std::string_view label) {
        for (const std::string& handlerLabel : labels)
            body.labelTaken |= equalIgnoringAsciiCase(label, handlerLabel);
    };
    if (scanned != nullptr)
        scanned->labelsOnTheWay().clear();
    std::string_view line;
    while (nextLine(line)) {
        if (!trapsEnded &&
            (procedureEnd(line, kAllProcedureKinds) || procedureHead(line, kAllProcedureKinds)))
            trapsEnded = true;
        const bool known = first != nullptr && scanned != nullptr;
        const bool noEndHere = known && scanned->endlessFrom(kind, line.data());
        if (known && trapsEnded) {
            if (noEndHere)
                return body;
            if (const ScannedStretches::ToEnd* toEnd = scanned->toEndPast(kind, line.data())) {
                body.endFound = true;
                body.endIsEndLine = toEnd->endIsEndLine;
                for (const ScannedStretches::Label& label : toEnd->labelsFrom(line.data()))
                    takeLabel(label.name);
                return body;
            }
        }
        const BodyLine inspected = noEndHere ? BodyLine{} : inspectBodyLine(line, kind, !continued);
        if (inspected.end) {
            body.endFound = true;
            body.endIsEndLine = procedureEnd(line, kind) == kind;
            if (scanned != nullptr && first != nullptr)
                scanned->foundEnd(kind, first, line.data(), body.endIsEndLine);
            return body;
        }
        if (!trapsEnded && holdsOnErrorStatement(line)) {
            if (!lineHoldsMarker(line))
                body.traps.own = true;
            else
                body.traps.marked = true;
        }
        // The tool's own label goes with its other marked lines before insertion.
        if (!inspected.label.empty() && !lineHoldsMarker(line)) {
            takeLabel(inspected.label);
            if (scanned != nullptr && first != nullptr)
                scanned->labelsOnTheWay().push_back({line.data(), inspected.label});
        }
        if (first == nullptr)
            first = line.data();
        continued = continuesOnNextLine(line);
    }
    if (scanned != nullptr && first != nullptr)
        scanned->foundEndlessFrom(kind, first);
    return body;
}

} // namespace faultward

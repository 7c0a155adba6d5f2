#pragma once

#include "rewrite/insertion_options.h"
#include "rewrite/own_handling.h"
#include "rewrite/procedure_kind.h"
#include "rewrite/procedure_lines.h"

#include "platform/windows_names.h"

#include <array>
#include <cstdint>
#include <functional>
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

// Where the scans of one text found no End statement of a kind up to the end
// of what may be looked at, so that a text of many heads and no End (a
// stranger's, or a broken one) is not read to its end once for each head.
// A line after a scan's first looks the same to every scan that reaches it,
// and a first line is looked at as a statement's start, which finds an End
// wherever a continued line would: so once a scan from a line found none, no
// later scan finds one from there on.
class EndlessStretches {
public:
    // Whether no End of the kind lies at or after the line starting at at.
    bool endlessFrom(ProcedureKind kind, const char* at) const {
        const char* from = from_[slot(kind)];
        return from != nullptr && !std::less<const char*>()(at, from);
    }
    void foundEndlessFrom(ProcedureKind kind, const char* at) {
        const char*& from = from_[slot(kind)];
        if (from == nullptr || std::less<const char*>()(at, from))
            from = at;
    }

private:
    static std::size_t slot(ProcedureKind kind) {
        return kind == ProcedureKind::Sub ? 0 : kind == ProcedureKind::Function ? 1 : 2;
    }
    std::array<const char*, 3> from_{};
};

// Reads the lines that nextLine(line) gives one by one (false at the end of
// what may be looked at): the body of a procedure of the kind. The On Error
// statements are looked for only when lookForTraps is set. With endless, the
// scans of one text, made in any order over views into it, skip the stretch
// that holds no End (labelTaken is then unknown, and means nothing without
// an end).
template <typename NextLine>
ProcedureBody scanProcedureBody(NextLine&& nextLine, ProcedureKind kind,
                                const HandlerLabels& labels, bool lookForTraps,
                                EndlessStretches* endless = nullptr) {
    ProcedureBody body;
    bool trapsEnded = !lookForTraps; // bodyTraps() stops at any head or end line
    bool continued = false;
    const char* first = nullptr;
    std::string_view line;
    while (nextLine(line)) {
        if (!trapsEnded &&
            (procedureEnd(line, kAllProcedureKinds) || procedureHead(line, kAllProcedureKinds)))
            trapsEnded = true;
        const bool noEndHere =
            first != nullptr && endless != nullptr && endless->endlessFrom(kind, line.data());
        if (first == nullptr)
            first = line.data();
        if (noEndHere && trapsEnded)
            return body;
        const BodyLine inspected = noEndHere ? BodyLine{} : inspectBodyLine(line, kind, !continued);
        if (inspected.end) {
            body.endFound = true;
            body.endIsEndLine = procedureEnd(line, kind) == kind;
            return body;
        }
        if (!trapsEnded && holdsOnErrorStatement(line)) {
            if (!lineHoldsMarker(line))
                body.traps.own = true;
            else
                body.traps.marked = true;
        }
        // The tool's own label goes with its other marked lines before insertion.
        if (!inspected.label.empty() && !lineHoldsMarker(line))
            for (const std::string& handlerLabel : labels)
                body.labelTaken |= equalIgnoringAsciiCase(inspected.label, handlerLabel);
        continued = continuesOnNextLine(line);
    }
    if (endless != nullptr && first != nullptr)
        endless->foundEndlessFrom(kind, first);
    return body;
}

} // namespace faultward

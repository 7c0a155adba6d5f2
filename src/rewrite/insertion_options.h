#pragma once

#include "rewrite/handler_format.h"
#include "rewrite/handler_template.h"
#include "rewrite/leave_list.h"
#include "rewrite/procedure_kind.h"

#include <memory>
#include <string>
#include <string_view>

namespace faultward {

// What insertion writes, and where. A handling mode alone, the desktop
// program's only choice, gives the lines the tool has always written: a trap
// after every Sub head and the mode's block before every End Sub.
struct InsertionOptions {
    InsertionOptions() = default;
    explicit InsertionOptions(HandlingMode handlingMode) : mode(handlingMode) {}

    HandlingMode mode = HandlingMode::ShowMessage;
    ProcedureKinds procedures = ProcedureKind::Sub;
    // A procedure whose body has an On Error statement of its own is left alone.
    bool skipHandled = false;
    // When set, the trap and block lines come from the template, not the mode.
    std::shared_ptr<const HandlerTemplate> handlerTemplate;
    // For the template's {project}.
    std::string projectName;
    // The procedures the project's own settings leave alone: they get
    // neither trap nor block, whatever their kind.
    std::shared_ptr<const LeaveList> leave;
};

// What insertion knows of a file besides its text.
struct SourceFacts {
    std::string_view fileName; // for the template's {file}
    // In classes and user controls the Attribute lines that follow a head
    // belong to the head, and a trap must go after them; see attributesStayWithHead().
    bool classOrUserControl = false;
    // For the template's {project} when the file's project is not the
    // options' (a group's); empty: the options' projectName.
    std::string_view projectName = {};
    // The entry as the list holds it, which the leave list names.
    std::string_view entry = {};
};

inline ListedProcedures listedIn(const InsertionOptions& options, const SourceFacts& facts) {
    return {options.leave.get(), facts.entry};
}

// Whether the trap for a head of this kind goes after the Attribute lines
// that follow the head, where the editor keeps procedure attributes (default
// member, description) and accepts nothing before them. Sub heads of forms and
// modules keep the place they have always had, directly after the head.
inline bool attributesStayWithHead(ProcedureKind kind, const SourceFacts& facts) {
    return kind != ProcedureKind::Sub || facts.classOrUserControl;
}

// What one insertion pass carries from a procedure to the next, and from one
// file to the next: the last head's name, and whether that procedure is left
// alone because it handles its errors itself. An end line uses both.
struct InsertionState {
    std::string name;
    bool handled = false;
    // The procedure of the last head is left alone and its end line is the
    // next one, which gets no block either.
    bool endLeftAlone = false;
};

} // namespace faultward

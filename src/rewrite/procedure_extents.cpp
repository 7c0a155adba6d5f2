#include "rewrite/procedure_extents.h"

#include "rewrite/handler_format.h"
#include "rewrite/procedure_lines.h"

#include <optional>

namespace faultward {

std::vector<ProcedureExtent> procedureExtents(std::span<const std::string_view> lines) {
    std::vector<ProcedureExtent> extents;
    std::size_t i = 0;
    while (i < lines.size()) {
        // The look for the marker last: most lines are no head at their first byte.
        const std::optional<ProcedureHead> head = procedureHead(lines[i], kAllProcedureKinds);
        if (!head || lineHoldsMarker(lines[i])) {
            ++i;
            continue;
        }
        ProcedureExtent extent{i, i, head->kind, procedureNameAt(lines[i], head->nameStart)};
        while (continuesOnNextLine(lines[i]) && i + 1 < lines.size())
            ++i;
        extent.last = i++;
        if (!endsWithInlineEnd(lines[extent.last], head->kind)) {
            while (i < lines.size() && ((!procedureEnd(lines[i], kAllProcedureKinds) &&
                                         !procedureHead(lines[i], kAllProcedureKinds)) ||
                                        lineHoldsMarker(lines[i])))
                ++i;
            const bool endLine = i < lines.size() && procedureEnd(lines[i], kAllProcedureKinds);
            extent.last = endLine ? i++ : i - 1;
        }
        extents.push_back(extent);
    }
    return extents;
}

} // namespace faultward

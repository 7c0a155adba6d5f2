#include "rewrite/reinsertion.h"

namespace faultward {

void Reinsertion::clean(std::string_view content, const ListedProcedures& listed) {
    original_ = content;
    text_ = content;
    // Without a marker, removal would change nothing.
    if (!holdsMarker(content))
        return;
    // Insertion needs the cleaned text in one piece, since it looks ahead
    // over lines.
    removal_.clear();
    if (removeMarkedLinesOutside(listed, content, removal_).changed) {
        removal_.joinInto(cleaned_);
        text_ = cleaned_;
    }
}

TransformResult Reinsertion::insert(const InsertionOptions& options, const SourceFacts& facts,
                                    InsertionState& state, OutputPieces& out) {
    out.clear();
    TransformResult result = insertHandlers(text_, options, facts, state, out);
    const bool cleaned = text_.data() != original_.data();
    if (!result.changed) {
        // Insertion may leave its output incomplete when it adds nothing.
        out.clear();
        out.keep(text_);
    }
    // Handlers put back exactly where they were leave the file as it is.
    result.changed = (result.changed || cleaned) && !out.holdsExactly(original_);
    return result;
}

} // namespace faultward

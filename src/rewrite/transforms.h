#pragma once

#include "rewrite/insertion_options.h"
#include "rewrite/leave_list.h"
#include "rewrite/output_pieces.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace faultward {

// Handlers go into the first this-many lines of a file only; the rest is
// written back as it is.
inline constexpr std::size_t kInsertionLineLimit = 32000;

struct TransformResult {
    // False when the output would hold exactly the bytes of the input; the
    // output may then have been left incomplete.
    bool changed = false;
    bool lineLimitExceeded = false;
    // Insertion: whether a head was found, so that the state the file leaves
    // is its own; and whether an end line came before the first head, so that
    // the output depends on the state carried in from the files before.
    bool headFound = false;
    bool carriedStateUsed = false;
};

// Appends the file's lines to out with a trap line after every head of the
// chosen kinds and a handler block before every end of those kinds. Every
// line keeps its own ending; the lines added take the ending of the line they
// follow. The state carries from one file to the next within a pass. The
// pieces in out point into content.
TransformResult insertHandlers(std::string_view content, const InsertionOptions& options,
                               const SourceFacts& facts, InsertionState& state, OutputPieces& out);

// The same with only a handling mode, Subs only; currentName is the name of
// the last head seen.
TransformResult insertHandlers(std::string_view content, HandlingMode mode,
                               std::string& currentName, OutputPieces& out);

// Whether any line of the buffer holds the marker.
bool holdsMarker(std::string_view content);

// Appends the file's lines to out, leaving out every line that holds the
// marker with its ending; every other byte stays. The pieces in out point
// into content.
TransformResult removeMarkedLines(std::string_view content, OutputPieces& out);

// The same, but the procedures listed names keep every line, from head to
// end line.
TransformResult removeMarkedLinesOutside(const ListedProcedures& listed, std::string_view content,
                                         OutputPieces& out);

} // namespace faultward

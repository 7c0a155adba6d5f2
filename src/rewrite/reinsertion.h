#pragma once

#include "rewrite/insertion_options.h"
#include "rewrite/output_pieces.h"
#include "rewrite/transforms.h"

#include <string>
#include <string_view>

namespace faultward {

// The removal and then the insertion of one file, worked out in memory from
// one read: the bytes are those the removal pass followed by the insertion
// pass would leave, and a file that would end as it began needs no write at
// all. The buffers are kept from one file to the next.
class Reinsertion {
public:
    // Drops the marked lines of content but those of the procedures listed
    // names. content must stay in place until the output of insert() has
    // been written.
    void clean(std::string_view content, const ListedProcedures& listed = {});

    // Inserts handlers into the cleaned text; out receives the whole new
    // contents. May be called again, with another state, for the same file.
    // changed is false when the new contents are exactly the original bytes.
    TransformResult insert(const InsertionOptions& options, const SourceFacts& facts,
                           InsertionState& state, OutputPieces& out);

private:
    std::string_view original_;
    std::string_view text_; // the cleaned text: original_ itself, or cleaned_
    std::string cleaned_;
    OutputPieces removal_;
};

} // namespace faultward

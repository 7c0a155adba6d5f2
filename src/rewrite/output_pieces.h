#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// A file's new contents as a list of pieces: runs of the input, which are not
// copied, and text the pass adds, kept in a buffer of its own. Most of a
// rewritten file is input, so writing the pieces with one gathered write
// spares copying the whole file through memory once more.
class OutputPieces {
public:
    void clear();
    // Appends a run of the input. The input must stay in place until the
    // pieces have been written.
    void keep(std::string_view run);
    // Text appended to the returned buffer follows every piece so far.
    std::string& added();
    // The pieces in order. Valid until the next change.
    std::span<const std::string_view> pieces();
    // All pieces joined into one string.
    std::string joined();
    // The same into text, whose capacity is kept.
    void joinInto(std::string& text);
    // Whether the pieces joined are exactly text, found without joining them.
    bool holdsExactly(std::string_view text);

private:
    void closeAdded();

    // A run of the input, or (input == nullptr) a range of added_, kept as an
    // offset because added_ may move as it grows.
    struct Piece {
        const char* input;
        std::size_t offset;
        std::size_t size;
    };
    std::vector<Piece> pieces_;
    std::string added_;
    bool addedOpen_ = false;
    std::vector<std::string_view> views_;
};

} // namespace faultward

#include "rewrite/output_pieces.h"

namespace faultward {

void OutputPieces::clear() {
    pieces_.clear();
    added_.clear();
    addedOpen_ = false;
}

void OutputPieces::keep(std::string_view run) {
    closeAdded();
    if (run.empty())
        return;
    if (!pieces_.empty()) {
        Piece& last = pieces_.back();
        if (last.input && last.input + last.size == run.data()) {
            last.size += run.size();
            return;
        }
    }
    pieces_.push_back({run.data(), 0, run.size()});
}

std::string& OutputPieces::added() {
    if (!addedOpen_) {
        pieces_.push_back({nullptr, added_.size(), 0});
        addedOpen_ = true;
    }
    return added_;
}

void OutputPieces::closeAdded() {
    if (!addedOpen_)
        return;
    pieces_.back().size = added_.size() - pieces_.back().offset;
    addedOpen_ = false;
}

std::span<const std::string_view> OutputPieces::pieces() {
    closeAdded();
    views_.clear();
    for (const Piece& piece : pieces_) {
        if (piece.size == 0)
            continue;
        views_.emplace_back(piece.input ? piece.input : added_.data() + piece.offset, piece.size);
    }
    return views_;
}

std::string OutputPieces::joined() {
    std::string text;
    joinInto(text);
    return text;
}

void OutputPieces::joinInto(std::string& text) {
    std::size_t size = 0;
    for (std::string_view piece : pieces())
        size += piece.size();
    text.clear();
    text.reserve(size);
    for (std::string_view piece : views_)
        text.append(piece);
}

bool OutputPieces::holdsExactly(std::string_view text) {
    std::size_t size = 0;
    for (std::string_view piece : pieces())
        size += piece.size();
    if (size != text.size())
        return false;
    std::size_t at = 0;
    for (std::string_view piece : views_) {
        if (text.compare(at, piece.size(), piece) != 0)
            return false;
        at += piece.size();
    }
    return true;
}

} // namespace faultward

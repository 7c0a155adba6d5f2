#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace faultward {

// Comparing a file's contents before and after a pass. Lines are split at
// line feeds, as diff and patch split them, so a carriage return stays part of
// its line. The passes only add and drop marked lines (and complete a line
// ending here and there), so a marked line that differs is taken as added or
// removed and every other line is lined up with its twin: one walk, however
// large the file.

struct LineChanges {
    std::size_t added = 0;
    std::size_t removed = 0;
};

LineChanges countLineChanges(std::string_view before, std::string_view after);

// The changes in the unified format of diff -u, with three lines of context,
// under the given file labels; empty when nothing changed.
std::string unifiedDiff(std::string_view before, std::string_view after,
                        std::string_view beforeLabel, std::string_view afterLabel);

// The same walk over the new contents as the pieces a pass writes them in
// (OutputPieces), never joined: where a piece is a run of before itself, as
// the input a pass keeps is, its lines are passed over in one step. With
// hunks, the unified diff's hunks (all it holds after its two header lines)
// are appended there. Nothing changed when both counts are 0.
LineChanges compareLines(std::string_view before, std::span<const std::string_view> after,
                         std::string* hunks = nullptr);

} // namespace faultward

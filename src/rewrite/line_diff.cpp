#include "rewrite/line_diff.h"

#include "rewrite/handler_format.h"
#include "rewrite/text_lines.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace faultward {
namespace {

constexpr std::size_t kContext = 3;
// Changes with fewer kept lines than this between them share a hunk.
constexpr std::size_t kKeptBetweenHunks = 2 * kContext + 1;

// The line of text that starts at `at`, with its line feed if it has one.
std::string_view lineAt(std::string_view text, std::size_t at) {
    const std::size_t feed = findByte(text.data(), at, text.size(), '\n');
    return text.substr(at, feed == text.size() ? feed - at : feed + 1 - at);
}

// How many leading bytes x and y share. A run of after that is before's own
// bytes shares them all without a look.
std::size_t sharedLength(std::string_view x, std::string_view y) {
    const std::size_t size = std::min(x.size(), y.size());
    if (x.data() == y.data())
        return size;
    constexpr std::size_t kBlock = 256;
    std::size_t at = 0;
    while (at + kBlock <= size && std::memcmp(x.data() + at, y.data() + at, kBlock) == 0)
        at += kBlock;
    while (at < size && x[at] == y[at])
        ++at;
    return at;
}

// "start,count" of a hunk's range, as diff writes it: the count is left out
// when it is 1, and an empty range names the line before it.
void appendRange(std::string& out, std::size_t consumedBefore, std::size_t count) {
    out += std::to_string(count == 0 ? consumedBefore : consumedBefore + 1);
    if (count != 1) {
        out += ',';
        out += std::to_string(count);
    }
}

// The lines of the pieces, one at a time; a line that spans pieces is
// gathered into a buffer of its own.
class PieceLines {
public:
    explicit PieceLines(std::span<const std::string_view> pieces) : pieces_(pieces) { settle(); }

    bool atEnd() const { return piece_ == pieces_.size(); }
    std::string_view restOfPiece() const { return pieces_[piece_].substr(offset_); }

    // The current line with its line feed, if it has one.
    std::string_view line() {
        if (known_)
            return line_;
        known_ = true;
        const std::string_view rest = restOfPiece();
        const std::size_t feed = findByte(rest.data(), 0, rest.size(), '\n');
        if (feed < rest.size())
            return line_ = rest.substr(0, feed + 1);
        gathered_.assign(rest);
        for (std::size_t next = piece_ + 1; next < pieces_.size(); ++next) {
            const std::string_view piece = pieces_[next];
            const std::size_t end = findByte(piece.data(), 0, piece.size(), '\n');
            if (end < piece.size()) {
                gathered_.append(piece.substr(0, end + 1));
                break;
            }
            gathered_.append(piece);
        }
        return line_ = gathered_;
    }

    void skip(std::size_t bytes) {
        known_ = false;
        while (bytes > 0) {
            const std::size_t left = pieces_[piece_].size() - offset_;
            if (bytes < left) {
                offset_ += bytes;
                break;
            }
            bytes -= left;
            ++piece_;
            offset_ = 0;
        }
        settle();
    }

private:
    void settle() {
        while (piece_ < pieces_.size() && offset_ == pieces_[piece_].size()) {
            ++piece_;
            offset_ = 0;
        }
    }

    std::span<const std::string_view> pieces_;
    std::size_t piece_ = 0;
    std::size_t offset_ = 0;
    bool known_ = false;
    std::string_view line_;
    std::string gathered_;
};

// The walk: a line of before and a line of after are the same line when they
// are equal; otherwise a marked one is the change, and two unmarked ones are
// a removal and an addition. With hunks, it writes them as it goes.
class LineWalk {
public:
    LineWalk(std::string_view before, std::span<const std::string_view> after, std::string* hunks)
        : before_(before), after_(after), hunks_(hunks) {}

    LineChanges run() {
        while (at_ < before_.size() && !after_.atEnd()) {
            // Inside a hunk its trailing context is counted line by line.
            if (!open_ && passOverShared())
                continue;
            const std::string_view a = lineAt(before_, at_);
            const std::string_view b = after_.line();
            if (a == b) {
                keep(a);
            } else if (lineHoldsMarker(a)) {
                remove(a);
            } else if (lineHoldsMarker(b)) {
                add(b);
            } else {
                remove(a);
                add(b);
            }
        }
        while (at_ < before_.size())
            remove(lineAt(before_, at_));
        while (!after_.atEnd())
            add(after_.line());
        if (open_)
            closeHunk(std::min(kContext, trailing_.size()));
        return changes_;
    }

private:
    // Passes over the whole lines both hold next, byte for byte, in one step;
    // false when there are none.
    bool passOverShared() {
        const std::string_view rest = before_.substr(at_);
        const std::size_t shared = sharedLength(rest, after_.restOfPiece());
        if (shared == 0)
            return false;
        const std::size_t feed = findLastByte(rest.data(), 0, shared, '\n');
        if (feed == std::string_view::npos)
            return false;
        const std::string_view lines = rest.substr(0, feed + 1);
        if (hunks_)
            remember(lines);
        at_ += lines.size();
        after_.skip(lines.size());
        return true;
    }

    // Kept lines passed over outside a hunk: counted, and the last few kept
    // as the next hunk's leading context.
    void remember(std::string_view lines) {
        const std::size_t count = countByte(lines, '\n');
        consumedBefore_ += count;
        consumedAfter_ += count;
        std::array<std::string_view, kContext> last;
        std::size_t found = 0;
        for (std::size_t end = lines.size(); found < kContext && end > 0;) {
            const std::size_t feed = findLastByte(lines.data(), 0, end - 1, '\n');
            const std::size_t start = feed == std::string_view::npos ? 0 : feed + 1;
            last[found++] = lines.substr(start, end - start);
            end = start;
        }
        while (found > 0)
            lead(last[--found]);
    }

    void lead(std::string_view line) {
        if (leading_.size() == kContext)
            leading_.erase(leading_.begin());
        leading_.push_back(line);
    }

    void keep(std::string_view line) {
        at_ += line.size();
        after_.skip(line.size());
        if (!hunks_)
            return;
        ++consumedBefore_;
        ++consumedAfter_;
        if (!open_) {
            lead(line);
            return;
        }
        trailing_.push_back(line);
        if (trailing_.size() == kKeptBetweenHunks) {
            closeHunk(kContext);
            for (std::size_t i = kKeptBetweenHunks - kContext; i < kKeptBetweenHunks; ++i)
                lead(trailing_[i]);
            trailing_.clear();
        }
    }

    void remove(std::string_view line) {
        ++changes_.removed;
        at_ += line.size();
        if (!hunks_)
            return;
        change();
        write('-', line);
        ++beforeCount_;
        ++consumedBefore_;
    }

    void add(std::string_view line) {
        ++changes_.added;
        if (hunks_) {
            change();
            write('+', line);
            ++afterCount_;
            ++consumedAfter_;
        }
        after_.skip(line.size());
    }

    // Opens a hunk with its leading context, or writes the lines kept since
    // the last change of the open one.
    void change() {
        if (!open_) {
            open_ = true;
            fromBefore_ = consumedBefore_ - leading_.size();
            fromAfter_ = consumedAfter_ - leading_.size();
            beforeCount_ = afterCount_ = 0;
            body_.clear();
            for (const std::string_view line : leading_)
                context(line);
            leading_.clear();
            return;
        }
        for (const std::string_view line : trailing_)
            context(line);
        trailing_.clear();
    }

    void context(std::string_view line) {
        write(' ', line);
        ++beforeCount_;
        ++afterCount_;
    }

    void write(char step, std::string_view line) {
        body_ += step;
        body_ += line;
        if (!line.ends_with('\n'))
            body_ += "\n\\ No newline at end of file\n";
    }

    void closeHunk(std::size_t trailingContext) {
        for (std::size_t i = 0; i < trailingContext; ++i)
            context(trailing_[i]);
        *hunks_ += "@@ -";
        appendRange(*hunks_, fromBefore_, beforeCount_);
        *hunks_ += " +";
        appendRange(*hunks_, fromAfter_, afterCount_);
        *hunks_ += " @@\n";
        *hunks_ += body_;
        open_ = false;
    }

    std::string_view before_;
    std::size_t at_ = 0; // start of before's next line
    PieceLines after_;
    std::string* hunks_;
    LineChanges changes_;
    // Lines of each side walked so far, for the hunks' ranges.
    std::size_t consumedBefore_ = 0;
    std::size_t consumedAfter_ = 0;
    bool open_ = false;
    std::size_t fromBefore_ = 0;
    std::size_t fromAfter_ = 0;
    std::size_t beforeCount_ = 0;
    std::size_t afterCount_ = 0;
    std::string body_;
    std::vector<std::string_view> leading_;  // kept lines before the next change
    std::vector<std::string_view> trailing_; // kept lines since the open hunk's last change
};

} // namespace

LineChanges compareLines(std::string_view before, std::span<const std::string_view> after,
                         std::string* hunks) {
    return LineWalk(before, after, hunks).run();
}

LineChanges countLineChanges(std::string_view before, std::string_view after) {
    return compareLines(before, std::span(&after, 1));
}

std::string unifiedDiff(std::string_view before, std::string_view after,
                        std::string_view beforeLabel, std::string_view afterLabel) {
    std::string hunks;
    const LineChanges changes = compareLines(before, std::span(&after, 1), &hunks);
    if (changes.added == 0 && changes.removed == 0)
        return {};
    std::string out = "--- " + std::string(beforeLabel) + "\n+++ " + std::string(afterLabel) + "\n";
    out += hunks;
    return out;
}

} // namespace faultward

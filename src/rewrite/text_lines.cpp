#include "text_lines.h"

#include <cstring>

namespace faultward {

LineBreaks detectLineBreaks(std::string_view content) {
    if (content.find('\r') != std::string_view::npos)
        return LineBreaks::CarriageReturn;
    if (content.find('\n') != std::string_view::npos)
        return LineBreaks::LineFeed;
    return LineBreaks::CarriageReturn;
}

std::string_view lineEnding(LineBreaks breaks) {
    return breaks == LineBreaks::LineFeed ? std::string_view("\n") : std::string_view("\r\n");
}

bool LineCursor::next(std::string_view& line) {
    if (rest_.empty())
        return false;
    const char terminator = breaks_ == LineBreaks::LineFeed ? '\n' : '\r';
    const void* hit = std::memchr(rest_.data(), terminator, rest_.size());
    if (!hit) {
        line = rest_;
        rest_ = {};
        return true;
    }
    const std::size_t end = static_cast<const char*>(hit) - rest_.data();
    line = rest_.substr(0, end);
    std::size_t skip = end + 1;
    if (breaks_ == LineBreaks::CarriageReturn && skip < rest_.size() && rest_[skip] == '\n')
        ++skip;
    rest_.remove_prefix(skip);
    return true;
}

} // namespace faultward

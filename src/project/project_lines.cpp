#include "project/project_lines.h"

namespace faultward {

bool ProjectLines::next(std::string_view& line) {
    if (rest_.empty())
        return false;
    const std::size_t end = rest_.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        line = rest_;
        rest_ = {};
        return true;
    }
    line = rest_.substr(0, end);
    std::size_t after = end + 1;
    if (rest_[end] == '\r' && after < rest_.size() && rest_[after] == '\n')
        ++after;
    rest_.remove_prefix(after);
    return true;
}

} // namespace faultward

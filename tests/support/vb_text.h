#pragma once

#include <string>
#include <string_view>

namespace faultward::testing {

// Source text being built line by line, each line ended with CR LF as the
// Windows editors wrote them, with a count of the lines so far.
struct VbText {
    std::string bytes;
    int lines = 0;

    void line(std::string_view text) {
        bytes.append(text);
        bytes.append("\r\n");
        ++lines;
    }
    void blank() { line({}); }
};

} // namespace faultward::testing

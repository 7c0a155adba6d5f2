#include "support/random_lines.h"

#include "rewrite/procedure_lines.h"

namespace faultward::testing {

std::string randomLines(std::mt19937& random, std::span<const std::string_view> pieces,
                        int maxLines, std::string_view ending) {
    const bool lineFeeds = ending == "\n";
    std::string text;
    const int lines = 1 + static_cast<int>(random() % static_cast<unsigned>(maxLines));
    for (int i = 0; i < lines; ++i) {
        for (int parts = static_cast<int>(random() % 3); parts > 0; --parts) {
            const std::string_view piece = pieces[random() % pieces.size()];
            if (!lineFeeds || piece != "\r")
                text += piece;
        }
        text += ending;
    }
    const std::string_view last(text.data(), text.size() - ending.size());
    if (continuesOnNextLine(last.substr(last.rfind(ending.back()) + 1))) {
        text += "x = 1";
        text += ending;
    }
    return text;
}

} // namespace faultward::testing

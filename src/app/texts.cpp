#include "app/texts.h"

#include <vector>

namespace faultward {

std::string aboutCaption() {
    return "About " + std::string(kProductName);
}

std::string versionText(int major, int minor, int revision) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

namespace {

bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Where the characters of UTF-8 text start.
std::vector<std::size_t> characterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!continuesCharacter(text[i]))
            starts.push_back(i);
    return starts;
}

} // namespace

std::string shortenedInTheMiddle(std::string_view text, std::size_t maxCharacters) {
    constexpr std::string_view kEllipsis = "...";
    const std::vector<std::size_t> starts = characterStarts(text);
    if (starts.size() <= maxCharacters || maxCharacters <= kEllipsis.size())
        return std::string(text);
    const std::size_t kept = maxCharacters - kEllipsis.size();
    const std::size_t head = kept - kept / 2;
    const std::size_t tail = kept / 2;
    std::string shortened(text.substr(0, starts[head]));
    shortened += kEllipsis;
    shortened += text.substr(starts[starts.size() - tail]);
    return shortened;
}

} // namespace faultward

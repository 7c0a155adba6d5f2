#include "entry_path.h"

#include <algorithm>
#include <array>
#include <dirent.h>
#include <sys/stat.h>

namespace faultward {
namespace {

bool pathExists(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldAscii(x) == foldAscii(y);
           });
}

// The name in folder that equals component without regard to letter case; the
// byte-wise smallest when several do, so the choice does not depend on the
// order in which the folder lists them.
std::optional<std::string> findIgnoringCase(const std::filesystem::path& folder,
                                            std::string_view component) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    std::optional<std::string> found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (equalIgnoringAsciiCase(name, component) && (!found || name < *found))
            found = std::string(name);
    }
    ::closedir(dir);
    return found;
}

std::optional<std::filesystem::path> resolveSlashPath(const std::string& text,
                                                      const std::filesystem::path& baseFolder) {
    const bool absolute = text.starts_with('/');
    std::filesystem::path exact = absolute ? std::filesystem::path(text) : baseFolder / text;
    if (pathExists(exact))
        return exact;

    std::filesystem::path current = absolute ? std::filesystem::path("/") : baseFolder;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('/', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view component(text.data() + start, end - start);
        start = end + 1;
        if (component.empty())
            continue;
        std::filesystem::path next = current / std::string(component);
        if (component == "." || component == ".." || pathExists(next)) {
            current = std::move(next);
            continue;
        }
        const auto match = findIgnoringCase(current, component);
        if (!match)
            return std::nullopt;
        current /= *match;
    }
    return current;
}

bool hasDriveLetter(std::string_view text) {
    return text.size() >= 2 && text[1] == ':' &&
           ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
}

} // namespace

std::string windows1252ToUtf8(std::string_view text) {
    // 0x80-0x9F differ from Latin-1; the five unassigned bytes map to the
    // control characters of the same value, as Windows converts them.
    static constexpr std::array<char16_t, 32> kHighControls = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    std::string out;
    out.reserve(text.size() * 2);
    for (unsigned char byte : text) {
        char32_t code = byte;
        if (byte >= 0x80 && byte < 0xA0)
            code = kHighControls[byte - 0x80];
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

namespace {

bool namesNothingHere(std::string_view entry) {
    return entry.empty() || hasDriveLetter(entry) || entry.find('\0') != std::string_view::npos;
}

std::string withSlashes(std::string_view entry) {
    std::string text(entry);
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

} // namespace

std::optional<std::filesystem::path> literalEntryPath(std::string_view entry,
                                                      const std::filesystem::path& baseFolder) {
    if (namesNothingHere(entry))
        return std::nullopt;
    const std::string text = withSlashes(entry);
    return text.starts_with('/') ? std::filesystem::path(text) : baseFolder / text;
}

std::optional<std::filesystem::path> resolveEntryPath(std::string_view entry,
                                                      const std::filesystem::path& baseFolder) {
    if (namesNothingHere(entry))
        return std::nullopt;
    const std::string text = withSlashes(entry);
    if (auto found = resolveSlashPath(text, baseFolder))
        return found;
    const bool hasHighBytes =
        std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
    if (hasHighBytes)
        return resolveSlashPath(windows1252ToUtf8(text), baseFolder);
    return std::nullopt;
}

} // namespace faultward

#include "platform/entry_path.h"

#include "platform/windows1252.h"
#include "platform/windows_names.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace faultward {
namespace {

bool pathExists(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
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

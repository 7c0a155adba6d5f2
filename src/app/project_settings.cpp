#include "app/project_settings.h"

#include "app/handler_settings.h"
#include "app/ini_text.h"

#include "platform/path_bytes.h"
#include "platform/source_file.h"
#include "platform/windows_names.h"
#include "rewrite/pass_types.h"

#include <algorithm>

namespace faultward {
namespace {

// A new file's lines end as this system's text files do.
#ifdef _WIN32
constexpr std::string_view kSystemEnding = "\r\n";
#else
constexpr std::string_view kSystemEnding = "\n";
#endif

constexpr std::string_view kHandlerSectionName = "Handler";
constexpr std::string_view kHeading =
    "; Faultward's settings of this project, kept with it for everyone who works on it.";

bool isComment(std::string_view line) {
    line = trimBlanks(line);
    return line.starts_with(';') || line.starts_with('#');
}

// The key of a "key=value" line; empty for any other line.
std::string_view keyOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (isComment(line) || equals == std::string_view::npos)
        return {};
    return trimBlanks(line.substr(0, equals));
}

// A [Leave] line's item; empty for blank and comment lines.
std::string_view itemOf(std::string_view line) {
    return isComment(line) ? std::string_view() : trimBlanks(line);
}

char folded(char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c - 'A' + 'a');
    return c == '/' ? '\\' : c;
}

bool sameItem(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return folded(x) == folded(y);
           });
}

bool sortsBefore(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return folded(x) < folded(y); });
}

} // namespace

ProjectSettingsFile::ProjectSettingsFile(std::filesystem::path path)
    : path_(std::move(path)), ending_(kSystemEnding) {}

std::optional<std::string> ProjectSettingsFile::load() {
    lines_.clear();
    read_.clear();
    existed_ = false;
    finalEnding_ = true;
    ending_ = kSystemEnding;
    const ReadStatus status = readRegularFile(path_, read_);
    if (status == ReadStatus::NotFound) {
        read_.clear();
        return std::nullopt;
    }
    if (status != ReadStatus::Ok)
        return std::string(describe(readFailure(status)));
    existed_ = true;
    const std::vector<IniLine> lines = splitIniLines(read_);
    for (const IniLine& line : lines)
        lines_.emplace_back(line.text);
    if (!lines.empty()) {
        if (!lines.front().ending.empty())
            ending_ = std::string(lines.front().ending);
        finalEnding_ = !lines.back().ending.empty();
    }
    return std::nullopt;
}

ProjectSettingsFile::Located ProjectSettingsFile::section(std::string_view name) const {
    Located at;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto found = iniSectionName(lines_[i])) {
            if (at.header)
                break;
            if (equalIgnoringAsciiCase(*found, name)) {
                at.header = i;
                at.end = i + 1;
            }
            continue;
        }
        if (at.header && !trimBlanks(lines_[i]).empty())
            at.end = i + 1;
    }
    return at;
}

template <typename Key>
std::size_t ProjectSettingsFile::sortedPlace(const Located& at, std::string_view wanted,
                                             Key key) const {
    for (std::size_t i = *at.header + 1; i < at.end; ++i) {
        const std::string_view existing = key(lines_[i]);
        if (!existing.empty() && sortsBefore(wanted, existing))
            return i;
    }
    return at.end;
}

ProjectSettingsFile::Located ProjectSettingsFile::addSection(std::string_view name) {
    if (Located at = section(name); at.header)
        return at;
    if (lines_.empty())
        lines_.emplace_back(kHeading);
    const Located leave = section(kLeaveSection);
    std::size_t place = lines_.size();
    if (equalIgnoringAsciiCase(name, kHandlerSectionName) && leave.header) {
        // [Handler] before [Leave], as the program writes them.
        place = *leave.header;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(place), "");
    } else if (!trimBlanks(lines_.back()).empty()) {
        lines_.emplace_back();
        ++place;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(place),
                  "[" + std::string(name) + "]");
    return section(name);
}

std::string ProjectSettingsFile::readString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue, std::size_t bufferSize) {
    std::string_view value = defaultValue;
    const Located at = this->section(section);
    if (at.header) {
        for (std::size_t i = *at.header + 1; i < at.end; ++i) {
            if (!equalIgnoringAsciiCase(keyOf(lines_[i]), key))
                continue;
            value = trimBlanks(std::string_view(lines_[i]).substr(lines_[i].find('=') + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            break;
        }
    }
    const std::size_t room = bufferSize > 0 ? bufferSize - 1 : 0;
    return std::string(value.substr(0, std::min(room, value.size())));
}

bool ProjectSettingsFile::writeString(std::string_view section, std::string_view key,
                                      std::string_view value) {
    const std::string line = std::string(key) + "=" + std::string(value);
    Located at = this->section(section);
    if (at.header) {
        for (std::size_t i = *at.header + 1; i < at.end; ++i) {
            if (equalIgnoringAsciiCase(keyOf(lines_[i]), key)) {
                lines_[i] = line;
                return true;
            }
        }
    } else {
        at = addSection(section);
    }
    const std::size_t place = sortedPlace(at, key, keyOf);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(place), line);
    return true;
}

void ProjectSettingsFile::removeKey(std::string_view section, std::string_view key) {
    const Located at = this->section(section);
    if (!at.header)
        return;
    for (std::size_t i = at.end; i-- > *at.header + 1;)
        if (equalIgnoringAsciiCase(keyOf(lines_[i]), key))
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
}

std::string ProjectSettingsFile::displayName() const {
    return pathDisplayText(bytesFromPath(path_));
}

std::vector<std::string> ProjectSettingsFile::leaveItems() const {
    std::vector<std::string> items;
    const Located at = section(kLeaveSection);
    if (at.header)
        for (std::size_t i = *at.header + 1; i < at.end; ++i)
            if (const std::string_view item = itemOf(lines_[i]); !item.empty())
                items.emplace_back(item);
    return items;
}

bool ProjectSettingsFile::setLeft(std::string_view item, bool left) {
    Located at = section(kLeaveSection);
    if (!left) {
        bool changed = false;
        if (!at.header)
            return false;
        for (std::size_t i = at.end; i-- > *at.header + 1;) {
            if (sameItem(itemOf(lines_[i]), item)) {
                lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
            }
        }
        return changed;
    }
    if (at.header)
        for (std::size_t i = *at.header + 1; i < at.end; ++i)
            if (sameItem(itemOf(lines_[i]), item))
                return false;
    if (!at.header)
        at = addSection(kLeaveSection);
    const std::size_t place = sortedPlace(at, item, itemOf);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(place), std::string(item));
    return true;
}

std::string ProjectSettingsFile::text() const {
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i];
        if (i + 1 < lines_.size() || finalEnding_)
            text += ending_;
    }
    return text;
}

std::optional<std::string> ProjectSettingsFile::save() {
    const std::string bytes = text();
    if (bytes == read_ && (existed_ || bytes.empty()))
        return std::nullopt;
    const WriteStatus status = createOrReplaceFile(path_, bytes);
    if (status != WriteStatus::Ok)
        return std::string(describe(writeOutcome(status)));
    read_ = bytes;
    existed_ = true;
    return std::nullopt;
}

SettingsLayer projectSettingsLayer(ProjectSettingsFile& file, const std::filesystem::path& folder) {
    SettingsLayer layer;
    layer.origin = SettingOrigin::ProjectFile;
    layer.file = file.displayName();
    layer.folder = folder;
    layer.values = readHandlerSection(file);
    return layer;
}

std::string pathAsEntry(const std::string& pathBytes, const std::filesystem::path& projectFolder) {
    std::error_code error;
    const std::filesystem::path absolute =
        std::filesystem::absolute(pathFromBytes(pathBytes), error);
    const std::filesystem::path folder = std::filesystem::absolute(projectFolder, error);
    const std::filesystem::path relative =
        absolute.lexically_normal().lexically_relative(folder.lexically_normal());
    if (error || relative.empty() || *relative.begin() == "..")
        return pathBytes;
    std::string entry = bytesFromPath(relative);
    std::replace(entry.begin(), entry.end(), '/', '\\');
    return entry;
}

} // namespace faultward

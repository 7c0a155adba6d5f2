#include "app/settings/project_settings.h"

#include "app/settings/handler_settings.h"
#include "app/settings/ini_text.h"
#include "app/settings/settings_file.h"

#include "platform/entry_path.h"
#include "platform/path_bytes.h"
#include "platform/source_file.h"
#include "platform/windows_names.h"
#include "project/file_list.h"
#include "project/module_folder.h"

#include <algorithm>

namespace faultward {
namespace {

// A new file's lines end as this system's text files do, unless the project
// file beside it says otherwise.
#ifdef _WIN32
constexpr std::string_view kSystemEnding = "\r\n";
#else
constexpr std::string_view kSystemEnding = "\n";
#endif

constexpr std::string_view kHandlerSectionName = "Handler";
constexpr std::string_view kHeading =
    "; Faultward's settings of this project, kept with it for everyone who works on it.";

// The key of a "key=value" line; empty for any other line.
std::string_view keyOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (isIniComment(line) || equals == std::string_view::npos)
        return {};
    return trimBlanks(line.substr(0, equals));
}

// A [Leave] line's item; empty for blank and comment lines.
std::string_view itemOf(std::string_view line) {
    return isIniComment(line) ? std::string_view() : trimBlanks(line);
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

// The first line ending of the project or group file. A document's bytes
// have no lines to go by, but the modules in it end theirs with CR LF; a
// folder of modules goes by its first module, as the editor's exports end
// their lines with CR LF when none tells.
std::string endingOf(const std::filesystem::path& listFile) {
    std::string bytes;
    const ProjectShape shape =
        listFile.empty() ? ProjectShape::ProjectFile : projectShapeOf(listFile);
    if (shape == ProjectShape::Document)
        return "\r\n";
    if (shape == ProjectShape::ModuleFolder) {
        for (const ListEntry& entry :
             sortedListEntries(readModuleFolder(listFile, kAllSourceKinds).entries)) {
            const auto path = literalEntryPath(entry.text, listFile);
            if (!path || readRegularFile(*path, bytes) != ReadStatus::Ok)
                continue;
            const std::vector<IniLine> lines = splitIniLines(bytes);
            if (!lines.empty() && !lines.front().ending.empty())
                return std::string(lines.front().ending);
        }
        return "\r\n";
    }
    if (listFile.empty() || readRegularFile(listFile, bytes) != ReadStatus::Ok)
        return std::string(kSystemEnding);
    const std::vector<IniLine> lines = splitIniLines(bytes);
    if (lines.empty() || lines.front().ending.empty())
        return std::string(kSystemEnding);
    return std::string(lines.front().ending);
}

} // namespace

ProjectSettingsFile::ProjectSettingsFile(std::filesystem::path path, std::filesystem::path listFile)
    : path_(std::move(path)), listFile_(std::move(listFile)), ending_(kSystemEnding) {}

void ProjectSettingsFile::parse(std::string_view bytes) {
    lines_.clear();
    finalEnding_ = true;
    byteOrderMark_ = byteOrderMarkOf(bytes);
    const std::vector<IniLine> lines = splitIniLines(bytes.substr(byteOrderMark_.size()));
    for (const IniLine& line : lines)
        lines_.push_back({std::string(line.text), std::string(line.ending)});
    if (!lines.empty()) {
        if (!lines.front().ending.empty())
            ending_ = std::string(lines.front().ending);
        finalEnding_ = !lines.back().ending.empty();
    }
}

std::optional<std::string> ProjectSettingsFile::load() {
    SettingsText text = readSettingsText(path_, kProjectSettingsLimit);
    existed_ = text.exists;
    problem_ = text.problem;
    changes_.clear();
    read_ = problem_ ? std::string() : std::move(text.bytes);
    ending_ = endingOf(listFile_);
    parse(read_);
    return problem_;
}

std::vector<std::string_view> ProjectSettingsFile::texts() const {
    std::vector<std::string_view> texts;
    texts.reserve(lines_.size());
    for (const Line& line : lines_)
        texts.push_back(line.text);
    return texts;
}

std::vector<ProjectSettingsFile::Located>
ProjectSettingsFile::sections(std::string_view name) const {
    std::vector<Located> found;
    bool inside = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto section = iniSectionName(lines_[i].text)) {
            inside = equalIgnoringAsciiCase(*section, name);
            if (inside)
                found.push_back({i, i + 1});
            continue;
        }
        if (inside && !trimBlanks(lines_[i].text).empty())
            found.back().end = i + 1;
    }
    return found;
}

template <typename Key>
std::size_t ProjectSettingsFile::sortedPlace(const Located& at, std::string_view wanted,
                                             Key key) const {
    for (std::size_t i = at.header + 1; i < at.end; ++i) {
        const std::string_view existing = key(lines_[i].text);
        if (!existing.empty() && sortsBefore(wanted, existing))
            return i;
    }
    return at.end;
}

void ProjectSettingsFile::insert(std::size_t place, std::string text) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(place), {std::move(text), {}});
}

ProjectSettingsFile::Located ProjectSettingsFile::addSection(std::string_view name) {
    if (const std::vector<Located> at = sections(name); !at.empty())
        return at.front();
    if (lines_.empty())
        insert(0, std::string(kHeading));
    const std::vector<Located> leave = sections(kLeaveSection);
    std::size_t place = lines_.size();
    if (equalIgnoringAsciiCase(name, kHandlerSectionName) && !leave.empty()) {
        // [Handler] before [Leave], as the program writes them.
        place = leave.front().header;
        insert(place, "");
    } else if (!trimBlanks(lines_.back().text).empty()) {
        insert(lines_.size(), "");
        ++place;
    }
    insert(place, "[" + std::string(name) + "]");
    return sections(name).front();
}

template <typename Change> void ProjectSettingsFile::record(Change change) {
    if (!replaying_)
        changes_.emplace_back(std::move(change));
}

std::string ProjectSettingsFile::readString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue, std::size_t bufferSize) {
    std::string_view value = defaultValue;
    const std::vector<std::string_view> lines = texts();
    if (const std::optional<IniKeyLine> at = iniKeyLine(lines, section, key))
        value = unquotedIniValue(at->value);
    const std::size_t room = bufferSize > 0 ? bufferSize - 1 : 0;
    return std::string(value.substr(0, std::min(room, value.size())));
}

std::optional<std::size_t> ProjectSettingsFile::lineOf(std::string_view section,
                                                       std::string_view key) {
    const std::vector<std::string_view> lines = texts();
    if (const std::optional<IniKeyLine> at = iniKeyLine(lines, section, key))
        return at->index + 1;
    return std::nullopt;
}

std::vector<std::string> ProjectSettingsFile::keyWarnings(std::string_view section,
                                                          std::span<const std::string_view> known) {
    return iniKeyWarnings(texts(), section, known);
}

std::vector<std::string> ProjectSettingsFile::sectionWarnings() const {
    std::vector<std::string> warnings;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (const auto name = iniSectionName(lines_[i].text))
            if (!equalIgnoringAsciiCase(*name, kHandlerSectionName) &&
                !equalIgnoringAsciiCase(*name, kLeaveSection))
                warnings.push_back("line " + std::to_string(i + 1) + " [" + std::string(*name) +
                                   "] is not a section Faultward reads; passed over");
    return warnings;
}

bool ProjectSettingsFile::writeString(std::string_view section, std::string_view key,
                                      std::string_view value) {
    record([s = std::string(section), k = std::string(key),
            v = std::string(value)](ProjectSettingsFile& file) { file.writeString(s, k, v); });
    const std::vector<std::string_view> lines = texts();
    if (const std::optional<IniKeyLine> at = iniKeyLine(lines, section, key)) {
        // A line that already says the value stays in its own words.
        if (unquotedIniValue(at->value) != value)
            lines_[at->index].text = std::string(key) + "=" + std::string(value);
        return true;
    }
    const Located at = addSection(section);
    insert(sortedPlace(at, key, keyOf), std::string(key) + "=" + std::string(value));
    return true;
}

void ProjectSettingsFile::removeKey(std::string_view section, std::string_view key) {
    record([s = std::string(section), k = std::string(key)](ProjectSettingsFile& file) {
        file.removeKey(s, k);
    });
    const std::vector<Located> found = sections(section);
    for (auto at = found.rbegin(); at != found.rend(); ++at)
        for (std::size_t i = at->end; i-- > at->header + 1;)
            if (equalIgnoringAsciiCase(keyOf(lines_[i].text), key))
                lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
}

std::string ProjectSettingsFile::displayName() const {
    return pathDisplayText(bytesFromPath(path_));
}

std::vector<std::string> ProjectSettingsFile::leaveItems() const {
    std::vector<std::string> items;
    for (const Located& at : sections(kLeaveSection))
        for (std::size_t i = at.header + 1; i < at.end; ++i)
            if (const std::string_view item = itemOf(lines_[i].text); !item.empty())
                items.emplace_back(item);
    return items;
}

bool ProjectSettingsFile::setLeft(std::string_view item, bool left) {
    record([i = std::string(item), left](ProjectSettingsFile& file) { file.setLeft(i, left); });
    const std::vector<Located> found = sections(kLeaveSection);
    if (!left) {
        bool changed = false;
        for (auto at = found.rbegin(); at != found.rend(); ++at) {
            for (std::size_t i = at->end; i-- > at->header + 1;) {
                if (sameItem(itemOf(lines_[i].text), item)) {
                    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
                    changed = true;
                }
            }
        }
        return changed;
    }
    for (const Located& at : found)
        for (std::size_t i = at.header + 1; i < at.end; ++i)
            if (sameItem(itemOf(lines_[i].text), item))
                return false;
    const Located at = addSection(kLeaveSection);
    insert(sortedPlace(at, item, itemOf), std::string(item));
    return true;
}

std::string ProjectSettingsFile::text() const {
    std::string text = byteOrderMark_;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i].text;
        if (i + 1 < lines_.size() || finalEnding_)
            text += lines_[i].ending.empty() ? ending_ : lines_[i].ending;
    }
    return text;
}

std::optional<std::string> ProjectSettingsFile::save() {
    if (problem_)
        return problem_;
    if (changes_.empty())
        return std::nullopt;
    const std::optional<std::string> cause = changeSettingsFile(
        path_,
        [&](const std::string& now) {
            if (now != read_) {
                // Another program changed it since it was read: the changes
                // are made again on what it holds now.
                parse(now);
                replaying_ = true;
                for (const auto& change : changes_)
                    change(*this);
                replaying_ = false;
                read_ = now;
            }
            return text();
        },
        kProjectSettingsLimit, {}, &written_);
    if (cause)
        return cause;
    changes_.clear();
    read_ = text();
    existed_ = existed_ || !read_.empty();
    return std::nullopt;
}

SettingsLayer projectSettingsLayer(ProjectSettingsFile& file, const std::filesystem::path& folder) {
    SettingsLayer layer;
    layer.origin = SettingOrigin::ProjectFile;
    layer.file = file.displayName();
    layer.folder = folder;
    layer.values = readHandlerSection(file);
    const std::vector<std::string> sections = file.sectionWarnings();
    layer.values.warnings.insert(layer.values.warnings.begin(), sections.begin(), sections.end());
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

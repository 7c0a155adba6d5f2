#include "app/profile_store.h"

#include "platform/path_bytes.h"
#include "platform/source_file.h"
#include "platform/windows_names.h"
#include "rewrite/pass_types.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace faultward {
namespace {

// An INI file is small; it is kept as its physical lines, each with the bytes
// that ended it, so a write changes nothing but the one line it means to.
struct IniLine {
    std::string_view text;
    std::string_view ending;
};

std::vector<IniLine> splitIniLines(std::string_view content) {
    std::vector<IniLine> lines;
    while (!content.empty()) {
        const std::size_t end = content.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            lines.push_back({content, {}});
            break;
        }
        std::size_t next = end + 1;
        if (content[end] == '\r' && next < content.size() && content[next] == '\n')
            ++next;
        lines.push_back({content.substr(0, end), content.substr(end, next - end)});
        content.remove_prefix(next);
    }
    return lines;
}

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The section name of a "[name]" line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (!line.starts_with('['))
        return std::nullopt;
    const std::size_t close = line.find(']');
    return trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
}

// Whether a line is "key = value" for the given key, and its value.
std::optional<std::string_view> keyValue(std::string_view line, std::string_view key) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos ||
        !equalIgnoringAsciiCase(trim(line.substr(0, equals)), key))
        return std::nullopt;
    return trim(line.substr(equals + 1));
}

struct Located {
    std::optional<std::size_t> section; // index of the section's header line
    std::optional<std::size_t> key;     // index of the key's line
    std::size_t lastContent = 0;        // last non-blank line of the section
};

Located locate(const std::vector<IniLine>& lines, std::string_view section, std::string_view key) {
    Located at;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i].text)) {
            if (at.section)
                break; // the first section of that name is the one used
            if (equalIgnoringAsciiCase(*name, section)) {
                at.section = i;
                at.lastContent = i;
            }
            continue;
        }
        if (!at.section)
            continue;
        if (!trim(lines[i].text).empty())
            at.lastContent = i;
        if (!at.key && keyValue(lines[i].text, key))
            at.key = i;
    }
    return at;
}

// The contents with key in section set to value, every other line kept.
std::string withKey(std::string_view content, std::string_view section, std::string_view key,
                    std::string_view value) {
    const auto lines = splitIniLines(content);
    const Located at = locate(lines, section, key);

    const std::string keyLine = std::string(key) + "=" + std::string(value);
    std::string out;
    out.reserve(content.size() + keyLine.size() + section.size() + 8);
    const auto emit = [&](std::string_view text, std::string_view ending) {
        out.append(text);
        out.append(ending.empty() ? std::string_view("\r\n") : ending);
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (at.key && i == *at.key) {
            emit(keyLine, lines[i].ending);
            continue;
        }
        emit(lines[i].text, lines[i].ending);
        if (at.section && !at.key && i == at.lastContent)
            emit(keyLine, {});
    }
    if (!at.section) {
        if (!lines.empty() && !trim(lines.back().text).empty())
            out.append("\r\n");
        out.append("[");
        out.append(section);
        out.append("]\r\n");
        emit(keyLine, {});
    }
    return out;
}

} // namespace

std::filesystem::path IniFileStore::readPath() const {
    std::error_code error;
    if (fallback_.empty() || std::filesystem::exists(path_, error))
        return path_;
    return std::filesystem::exists(fallback_, error) ? fallback_ : path_;
}

std::string IniFileStore::displayName() const {
    return pathDisplayText(bytesFromPath(readPath()));
}

std::string IniFileStore::writtenName() const {
    return pathDisplayText(bytesFromPath(path_));
}

ReadStatus IniFileStore::readCurrent(std::string& content) const {
    if (pending_) {
        content = *pending_;
        return pendingRead_;
    }
    ReadStatus status = readRegularFile(path_, content);
    if (status == ReadStatus::NotFound && !fallback_.empty())
        status = readRegularFile(fallback_, content);
    if (status == ReadStatus::NotFound)
        content.clear();
    return status;
}

WriteStatus IniFileStore::write(const std::string& content) const {
    if (!fallback_.empty() && path_.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(path_.parent_path(), error);
    }
    return createOrReplaceFile(path_, content);
}

std::string IniFileStore::readString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue, std::size_t bufferSize) {
    std::string content;
    std::string_view value = defaultValue;
    if (readCurrent(content) == ReadStatus::Ok) {
        const auto lines = splitIniLines(content);
        const Located at = locate(lines, section, key);
        if (at.key) {
            value = *keyValue(lines[*at.key].text, key);
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
        }
    }
    const std::size_t room = bufferSize > 0 ? bufferSize - 1 : 0;
    return std::string(value.substr(0, std::min(room, value.size())));
}

bool IniFileStore::writeString(std::string_view section, std::string_view key,
                               std::string_view value) {
    std::string content;
    const ReadStatus read = readCurrent(content);
    if (read != ReadStatus::Ok && read != ReadStatus::NotFound)
        return false;
    if (pending_) {
        *pending_ = withKey(content, section, key, value);
        return true;
    }
    return write(withKey(content, section, key, value)) == WriteStatus::Ok;
}

void IniFileStore::beginEdit() {
    std::string content;
    pendingRead_ = readCurrent(content);
    pending_ = std::move(content);
}

std::optional<std::string> IniFileStore::commitEdit() {
    if (!pending_)
        return std::nullopt;
    const std::string content = std::move(*pending_);
    pending_.reset();
    // A file that cannot be read is not replaced by one that lost its other values.
    if (pendingRead_ != ReadStatus::Ok && pendingRead_ != ReadStatus::NotFound)
        return std::string(describe(readFailure(pendingRead_)));
    const WriteStatus status = write(content);
    if (status != WriteStatus::Ok)
        return std::string(describe(writeOutcome(status)));
    return std::nullopt;
}

} // namespace faultward

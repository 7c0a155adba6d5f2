#include "app/profile_store.h"

#include "app/ini_text.h"

#include "platform/path_bytes.h"
#include "platform/source_file.h"
#include "platform/windows_names.h"
#include "rewrite/pass_types.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace faultward {
namespace {

// Whether a line is "key = value" for the given key, and its value.
std::optional<std::string_view> keyValue(std::string_view line, std::string_view key) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos ||
        !equalIgnoringAsciiCase(trimBlanks(line.substr(0, equals)), key))
        return std::nullopt;
    return trimBlanks(line.substr(equals + 1));
}

struct Located {
    std::optional<std::size_t> section; // index of the section's header line
    std::optional<std::size_t> key;     // index of the key's line
    std::size_t lastContent = 0;        // last non-blank line of the section
};

Located locate(const std::vector<IniLine>& lines, std::string_view section, std::string_view key) {
    Located at;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = iniSectionName(lines[i].text)) {
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
        if (!trimBlanks(lines[i].text).empty())
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
        if (!lines.empty() && !trimBlanks(lines.back().text).empty())
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

#include "app/settings/profile_store.h"

#include "app/settings/ini_text.h"

#include "platform/path_bytes.h"
#include "platform/windows_names.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace faultward {
namespace {

// The lines of INI text, after a byte-order mark.
struct IniLines {
    std::vector<IniLine> lines;
    std::vector<std::string_view> texts;
    explicit IniLines(std::string_view content)
        : lines(splitIniLines(content.substr(byteOrderMarkOf(content).size()))) {
        for (const IniLine& line : lines)
            texts.push_back(line.text);
    }
};

// The contents with key in section set to value, every other line kept: the
// first line of the key (in any section of that name) changes unless it
// says the value already; a new key goes after the first section's last line.
std::string withKey(std::string_view content, std::string_view section, std::string_view key,
                    std::string_view value) {
    const std::string_view mark = byteOrderMarkOf(content);
    const IniLines ini(content);
    const auto& lines = ini.lines;
    const std::optional<IniKeyLine> at = iniKeyLine(ini.texts, section, key);
    if (at && unquotedIniValue(at->value) == value)
        return std::string(content);
    std::optional<std::size_t> header, lastContent;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = iniSectionName(lines[i].text)) {
            if (header)
                break;
            if (equalIgnoringAsciiCase(*name, section))
                header = lastContent = i;
            continue;
        }
        if (header && !trimBlanks(lines[i].text).empty())
            lastContent = i;
    }

    const std::string keyLine = std::string(key) + "=" + std::string(value);
    std::string out(mark);
    out.reserve(content.size() + keyLine.size() + section.size() + 8);
    const auto emit = [&](std::string_view text, std::string_view ending) {
        out.append(text);
        out.append(ending.empty() ? std::string_view("\r\n") : ending);
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (at && i == at->index) {
            emit(keyLine, lines[i].ending);
            continue;
        }
        emit(lines[i].text, lines[i].ending);
        if (!at && lastContent && i == *lastContent)
            emit(keyLine, {});
    }
    if (!header) {
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

SettingsText IniFileStore::current() const {
    if (pending_)
        return *pending_;
    SettingsText text = readSettingsText(path_, std::nullopt);
    if (!text.exists && !fallback_.empty())
        text = readSettingsText(fallback_, std::nullopt);
    return text;
}

std::string IniFileStore::readString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue, std::size_t bufferSize) {
    const SettingsText text = current();
    std::string_view value = defaultValue;
    const IniLines ini(text.problem ? std::string_view() : std::string_view(text.bytes));
    if (const std::optional<IniKeyLine> at = iniKeyLine(ini.texts, section, key))
        value = unquotedIniValue(at->value);
    const std::size_t room = bufferSize > 0 ? bufferSize - 1 : 0;
    return std::string(value.substr(0, std::min(room, value.size())));
}

std::optional<std::size_t> IniFileStore::lineOf(std::string_view section, std::string_view key) {
    const SettingsText text = current();
    const IniLines ini(text.problem ? std::string_view() : std::string_view(text.bytes));
    if (const std::optional<IniKeyLine> at = iniKeyLine(ini.texts, section, key))
        return at->index + 1;
    return std::nullopt;
}

std::vector<std::string> IniFileStore::keyWarnings(std::string_view section,
                                                   std::span<const std::string_view> known) {
    // One that cannot be read at all reads as empty, as it always has.
    const SettingsText text = current();
    if (text.refused)
        return {"not read: " + *text.problem};
    if (text.problem)
        return {};
    return iniKeyWarnings(IniLines(text.bytes).texts, section, known);
}

bool IniFileStore::writeString(std::string_view section, std::string_view key,
                               std::string_view value) {
    if (pending_) {
        if (pending_->problem)
            return false;
        pending_->bytes = withKey(pending_->bytes, section, key, value);
        writes_.push_back({std::string(section), std::string(key), std::string(value)});
        return true;
    }
    beginEdit();
    writeString(section, key, value);
    return !commitEdit();
}

void IniFileStore::beginEdit() {
    pending_.reset();
    pending_ = current();
    basis_ = pending_->bytes;
    writes_.clear();
}

std::optional<std::string> IniFileStore::commitEdit() {
    if (!pending_)
        return std::nullopt;
    const SettingsText edited = std::move(*pending_);
    pending_.reset();
    // A file that cannot be read is not replaced by one that lost its other values.
    if (edited.problem)
        return edited.problem;
    if (!fallback_.empty() && path_.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(path_.parent_path(), error);
    }
    return changeSettingsFile(
        path_,
        [&](const std::string& now) {
            if (now == basis_)
                return edited.bytes;
            // Another program changed it since it was read: its change stays.
            std::string bytes = now;
            for (const Write& write : writes_)
                bytes = withKey(bytes, write.section, write.key, write.value);
            return bytes;
        },
        std::nullopt, fallback_, &written_);
}

} // namespace faultward

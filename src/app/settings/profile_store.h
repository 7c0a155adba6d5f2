#pragma once

#include "app/settings/settings_file.h"
#include "platform/file_stamp.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// Named string values in sections, as Windows keeps them in private-profile
// (INI) files. An interface so tests can hand the settings code a store of
// their own.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The value of key in section, or defaultValue when there is none; at most
    // bufferSize - 1 characters of it, as a fixed buffer of that size would hold.
    virtual std::string readString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue, std::size_t bufferSize) = 0;
    // Sets key in section, keeping every other section and key. False when the
    // store could not be written.
    virtual bool writeString(std::string_view section, std::string_view key,
                             std::string_view value) = 0;
    // Gathers the writes that follow into one: the store is read once now and
    // written once by commitEdit, so a reader never sees part of them.
    virtual void beginEdit() {}
    // Writes what was set since beginEdit; the cause in plain words ("not
    // writable") when the store could not be read or written.
    virtual std::optional<std::string> commitEdit() { return std::nullopt; }
    // The line (counting from 1) that holds the value readString gives.
    virtual std::optional<std::size_t> lineOf(std::string_view /*section*/,
                                              std::string_view /*key*/) {
        return std::nullopt;
    }
    // What is wrong in the section's keys beyond their values, each "line 9
    // [Handler] ...": a key given twice, a key not among known.
    virtual std::vector<std::string> keyWarnings(std::string_view /*section*/,
                                                 std::span<const std::string_view> /*known*/) {
        return {};
    }
    // How messages name the store values are read from, and the one written.
    virtual std::string displayName() const { return "ERRH.ini"; }
    virtual std::string writtenName() const { return displayName(); }
};

// A ProfileStore over one INI file, read and written as Windows does: section
// and key names without regard to letter case, values trimmed of surrounding
// blanks and of one pair of enclosing quotes, the first of repeated keys wins
// (sections of one name read as one), lines written with CR LF. A UTF-8
// byte-order mark is read past and kept; a file that cannot be read as text
// (UTF-16) reads as empty and is never written. The file is replaced safely
// on every write, under the settings lock of its folder, and never through
// a symbolic link.
class IniFileStore : public ProfileStore {
public:
    explicit IniFileStore(std::filesystem::path path) : path_(std::move(path)) {}
    // Writes go to path, whose folders are made on the first write; until
    // path exists, values are read from fallback, and the first write starts
    // from fallback's contents, so nothing stored there is lost.
    IniFileStore(std::filesystem::path path, std::filesystem::path fallback)
        : path_(std::move(path)), fallback_(std::move(fallback)) {}
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t bufferSize) override;
    bool writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    std::optional<std::size_t> lineOf(std::string_view section, std::string_view key) override;
    std::vector<std::string> keyWarnings(std::string_view section,
                                         std::span<const std::string_view> known) override;
    // The edit's writes are made again on the file as it is at commitEdit
    // when another program changed it since beginEdit.
    void beginEdit() override;
    std::optional<std::string> commitEdit() override;
    // The path of the file values are read from, as text.
    std::string displayName() const override;
    std::string writtenName() const override;
    const std::filesystem::path& path() const { return path_; }
    // The file values are read from now: path, or the fallback while path
    // does not exist.
    std::filesystem::path readPath() const;

private:
    struct Write {
        std::string section, key, value;
    };
    // The contents values are taken from: Ok, NotFound (read as empty) or why
    // it cannot be read.
    SettingsText current() const;

    std::filesystem::path path_;
    std::filesystem::path fallback_;
    // Between beginEdit and commitEdit: the contents as read, as they will
    // be written, and the writes that made the one of the other.
    std::optional<SettingsText> pending_;
    std::string basis_;
    std::vector<Write> writes_;
    FileStamp written_; // after this store's last write
};

} // namespace faultward

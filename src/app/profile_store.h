#pragma once

#include "platform/source_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

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
    // How messages name the store values are read from, and the one written.
    virtual std::string displayName() const { return "ERRH.ini"; }
    virtual std::string writtenName() const { return displayName(); }
};

// A ProfileStore over one INI file, read and written as Windows does: section
// and key names without regard to letter case, values trimmed of surrounding
// blanks and of one pair of enclosing quotes, the first of repeated keys wins,
// lines written with CR LF. The file is replaced safely on every write.
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
    // The contents of the file values are taken from: Ok, NotFound (read as
    // empty) or why it cannot be read.
    ReadStatus readCurrent(std::string& content) const;
    WriteStatus write(const std::string& content) const;

    std::filesystem::path path_;
    std::filesystem::path fallback_;
    // Between beginEdit and commitEdit: the contents as they will be written,
    // or why the file could not be read.
    std::optional<std::string> pending_;
    ReadStatus pendingRead_ = ReadStatus::Ok;
};

} // namespace faultward

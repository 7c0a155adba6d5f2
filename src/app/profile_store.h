#pragma once

#include <filesystem>
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
    const std::filesystem::path& path() const { return path_; }

private:
    // The contents of the file values are taken from; false when it cannot be read.
    bool readCurrent(std::string& content, bool& missing) const;

    std::filesystem::path path_;
    std::filesystem::path fallback_;
};

} // namespace faultward

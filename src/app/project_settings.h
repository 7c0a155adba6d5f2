#pragma once

#include "app/profile_store.h"
#include "app/settings_layers.h"
#include "project/project_shape.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// The settings a project keeps beside its .vbp (or a group beside its .vbg,
// a document beside itself, a folder of modules in itself: where
// projectSettingsPath says), for everyone who works on it and for version
// control: NAME.faultward, with a [Handler] section in ERRH.ini's words (and
// Mode, Start and Step) and a [Leave] section of the files and procedures to
// leave alone, one a line.
inline constexpr std::string_view kLeaveSection = "Leave";

// The file as its lines, changed line by line: a key or item the program sets
// goes where sorting puts it, and every other line, comments included, stays
// as written, so a file only ever written by the program is sorted and one
// edited by hand keeps its layout. Lines end as the file's first line does;
// a new file's as this system's text files do (CR LF on Windows, LF
// elsewhere). Nothing is written unless its bytes change.
class ProjectSettingsFile final : public ProfileStore {
public:
    explicit ProjectSettingsFile(std::filesystem::path path);

    // Reads the file; a missing one reads as empty. The cause ("permission
    // denied") when it is there but cannot be read.
    std::optional<std::string> load();
    bool existed() const { return existed_; }
    const std::filesystem::path& path() const { return path_; }

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t bufferSize) override;
    bool writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    void removeKey(std::string_view section, std::string_view key);
    std::string displayName() const override;

    // The [Leave] items, as written, in the file's order.
    std::vector<std::string> leaveItems() const;
    // Adds the item, or takes out the items that say the same (letter case
    // and the two separators aside); whether the file changed.
    bool setLeft(std::string_view item, bool left);

    std::string text() const;
    // Writes the file when its bytes are not those read; the cause when it
    // cannot be written.
    std::optional<std::string> save();

private:
    struct Located {
        std::optional<std::size_t> header;
        std::size_t end = 0; // one past the section's last line that is not blank
    };
    Located section(std::string_view name) const;
    // Where a new line sorts among the section's lines that key(line) names.
    template <typename Key>
    std::size_t sortedPlace(const Located& at, std::string_view wanted, Key key) const;
    Located addSection(std::string_view name);

    std::filesystem::path path_;
    std::vector<std::string> lines_;
    std::string ending_;
    std::string read_; // the bytes on disk, to tell whether a save changes them
    bool existed_ = false;
    bool finalEnding_ = true; // the last line ends as the others do
};

// The file as a layer of settings, a relative template path in folder.
SettingsLayer projectSettingsLayer(ProjectSettingsFile& file, const std::filesystem::path& folder);

// A path as the project's files are named in it: relative to the project's
// folder with backslashes when it lies inside, as given otherwise.
std::string pathAsEntry(const std::string& pathBytes, const std::filesystem::path& projectFolder);

} // namespace faultward

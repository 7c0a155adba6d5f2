#pragma once

#include "app/settings/profile_store.h"
#include "app/settings/settings_layers.h"

#include "platform/file_stamp.h"
#include "project/project_shape.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
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
// goes where sorting puts it, a key whose line already says its value stays
// as written, and every other line, comments and endings included, stays as
// it is, so a file only ever written by the program is sorted and one edited
// by hand keeps its layout. Sections of one name read as one (a merge that
// kept both sides makes two). New lines end as the file's first line does;
// a new file's as the project file's beside it (CR LF beside a document,
// whose modules end their lines so; in a folder of modules, as its first
// module's). A UTF-8 byte-order mark is
// kept. Nothing is written unless its bytes change, and what was changed is
// made again on the file as it is when it is saved, under the settings lock
// of its folder, so that a change another program made meanwhile stays.
class ProjectSettingsFile final : public ProfileStore {
public:
    // listFile: the project or group file the settings belong to, whose line
    // ending a new file takes; empty: this system's.
    explicit ProjectSettingsFile(std::filesystem::path path, std::filesystem::path listFile = {});

    // Reads the file; a missing one reads as empty. The cause when it is
    // there but cannot be used ("permission denied", UTF-16, too large, a
    // link to nothing); nothing is written into it then.
    std::optional<std::string> load();
    bool existed() const { return existed_; }
    const std::filesystem::path& path() const { return path_; }

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t bufferSize) override;
    bool writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    std::optional<std::size_t> lineOf(std::string_view section, std::string_view key) override;
    std::vector<std::string> keyWarnings(std::string_view section,
                                         std::span<const std::string_view> known) override;
    void removeKey(std::string_view section, std::string_view key);
    std::string displayName() const override;
    // "line 7 [Leeve] is not a section Faultward reads; passed over".
    std::vector<std::string> sectionWarnings() const;

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
    struct Line {
        std::string text;
        std::string ending; // empty: the file's, or none for a last line that had none
    };
    struct Located {
        std::size_t header = 0;
        std::size_t end = 0; // one past the section's last line that is not blank
    };
    void parse(std::string_view bytes);
    std::vector<std::string_view> texts() const;
    std::vector<Located> sections(std::string_view name) const;
    // Where a new line sorts among the section's lines that key(line) names.
    template <typename Key>
    std::size_t sortedPlace(const Located& at, std::string_view wanted, Key key) const;
    Located addSection(std::string_view name);
    void insert(std::size_t place, std::string text);
    // Notes a change, to be made again on the file as it is when saved.
    template <typename Change> void record(Change change);

    std::filesystem::path path_;
    std::filesystem::path listFile_;
    std::vector<Line> lines_;
    std::string byteOrderMark_;
    std::string ending_;
    std::string read_; // the bytes on disk, to tell whether a save changes them
    std::optional<std::string> problem_;
    bool existed_ = false;
    bool finalEnding_ = true; // the last line ends as the others do
    std::vector<std::function<void(ProjectSettingsFile&)>> changes_;
    bool replaying_ = false;
    FileStamp written_;
};

// The file as a layer of settings, a relative template path in folder.
SettingsLayer projectSettingsLayer(ProjectSettingsFile& file, const std::filesystem::path& folder);

// A path as the project's files are named in it: relative to the project's
// folder with backslashes when it lies inside, as given otherwise.
std::string pathAsEntry(const std::string& pathBytes, const std::filesystem::path& projectFolder);

} // namespace faultward

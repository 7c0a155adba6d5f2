#pragma once

#include "app/commands/list_source.h"
#include "app/settings/project_settings.h"
#include "app/settings/settings_layers.h"
#include "rewrite/leave_list.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace faultward {

// The choices the open project keeps in its own settings file, for the
// desktop program: its handler settings over the user's, and the files and
// procedures it leaves alone, changed as the user ticks and unticks them.
// Nothing is written until the user makes such a choice, so a project
// without the file, whose procedures are all left ticked, gets none.
class ProjectChoices {
public:
    // Reads the file beside the project or group file; the messages to show:
    // why it cannot be read (the project then keeps no choices, and every
    // entry is left alone), and what in it is not used as written.
    std::vector<std::string> open(const std::filesystem::path& listFile);
    void close();
    // For a group: reads each project's own file, whose [Leave] items then
    // leave that project's entries alone (those of entries, in the group's
    // list, from part.firstEntry to the next part's). Its [Handler] keys are
    // named when they would change what the group's settings do, as a group
    // runs with one set of settings; a file that cannot be read leaves every
    // entry of its project alone. The messages to show.
    std::vector<std::string> openProjects(std::span<const ListPart> parts,
                                          std::span<const ListEntry> entries,
                                          const SettingsLayer& user);

    bool isOpen() const { return file_ != nullptr; }
    // Whether the file is on disk: then a file's tick is kept in it too.
    bool exists() const { return file_ && file_->existed(); }
    std::string fileName() const;
    // Whether the file keeps the handler settings, over the user's.
    bool keepsHandlerSettings() const { return keepsHandler_; }

    // The settings in force: the file's over the user's.
    LayeredSettings settings(const SettingsLayer& user) const;
    std::shared_ptr<const LeaveList> leave() const { return leave_; }
    // The file's path when the settings in force (from settings()) take their
    // template from it.
    std::optional<std::filesystem::path> templateSource(const LayeredSettings& settings) const;
    // Its Template= value as written.
    std::string templateAsWritten() const { return layer_.values.templatePath.value_or(""); }

    // Unticked files and procedures are left alone, ticked ones no longer.
    // The message when the file could not be written, or when a wider item
    // of it ("*:Class_*") still leaves the procedure alone.
    std::optional<std::string> setFilesLeft(const std::vector<std::string>& entries, bool left);
    std::optional<std::string> setProcedureLeft(const std::string& entry,
                                                const std::string& procedure, bool left);

    // Keeps every handler setting in the file, a template relative to the
    // project's folder; or takes them all out of it.
    std::optional<std::string> keepHandlerSettings(const HandlerSettings& settings,
                                                   HandlingMode mode);
    std::optional<std::string> dropHandlerSettings();
    // The Options menu's mode, while the file keeps the settings.
    std::optional<std::string> setMode(HandlingMode mode);

private:
    std::optional<std::string> save();
    void reread();

    // A group's project's own [Leave] items, for the entries of its part.
    struct ProjectLeave {
        std::string file;
        std::vector<std::string> items;
        std::string prefix;
        std::vector<std::string> entries;
    };

    std::unique_ptr<ProjectSettingsFile> file_;
    std::filesystem::path listFile_;
    std::string unreadable_; // the file, when it could not be read
    std::filesystem::path folder_;
    std::vector<ProjectLeave> projects_;
    SettingsLayer layer_;
    std::shared_ptr<const LeaveList> leave_ = std::make_shared<LeaveList>();
    bool keepsHandler_ = false;
};

// "The choices of App.faultward could not be saved: not writable."
std::string choicesNotSavedMessage(std::string_view file, std::string_view cause);

} // namespace faultward

#pragma once

#include "app/commands/outside_files.h"
#include "app/commands/pass_driver.h"
#include "app/commands/procedure_records.h"
#include "app/settings/leave_items.h"
#include "app/settings/project_settings.h"
#include "app/settings/settings_layers.h"
#include "cli/arguments.h"
#include "cli/cli.h"
#include "rewrite/insertion_options.h"
#include "rewrite/leave_list.h"
#include "rewrite/line_numbering.h"
#include "rewrite/source_kind.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace faultward {

// What the command does to every project, worked out once.
struct CommandPlan {
    const Arguments& arguments;
    PassCommand passes = PassCommand::Remove;
    InsertionOptions insertion;
    SourceKinds kinds = kDefaultSourceKinds;
    bool inGroup = false;
    int jobs = 1;
    std::optional<NumberingOptions> lineNumbers = std::nullopt;
    // What the settings file beside the project or group given says to
    // leave alone, and in a group each project's own (nothing: no items).
    std::shared_ptr<LeaveItems> leave = nullptr;
    std::vector<std::shared_ptr<LeaveItems>> projectLeave{};
    // check --format json gathers the records of every project here.
    std::shared_ptr<ProcedureJson> json = nullptr;
    // The template the project's settings file names outside the project's
    // folder; not read when the command would write without --allow-outside.
    std::optional<OutsideFile> outsideTemplate = std::nullopt;
};

// What the command does to every project: the options given over the
// settings file beside the project or group given, over the user's ERRH.ini,
// over the built-in defaults. In a group, each project's own file adds its
// [Leave] items for its files; its [Handler] keys are named when they would
// change the command, and not used, as the group runs with one set of
// settings. Says once on stderr which files' settings change the command
// and what is wrong in them; nothing when they are refused.
std::optional<CommandPlan> planCommand(const Arguments& parsed, const std::filesystem::path& top,
                                       std::span<const std::filesystem::path> groupProjects,
                                       CliEnvironment& env);

// The [Leave] list a project of the plan is worked with (index: its place in
// the group), and the files it comes from.
std::vector<LeaveFileInForce> leaveFilesOf(const CommandPlan& command, std::size_t index,
                                           std::string_view projectAsWritten);

// Whether the command writes source files (not a dry run, check or list).
bool commandWrites(const Arguments& parsed);

// Whether the command would write and was not allowed to write outside the
// project's folder: then files there are refused before anything is written.
bool writesOutsideOnlyWithWord(const Arguments& parsed);

// The options given, as the highest layer of settings.
SettingsLayer commandLineLayer(const Arguments& parsed);

// Reads the project's own settings file; false, with the message, when the
// file is there but cannot be read.
bool readProjectSettings(ProjectSettingsFile& file, CliEnvironment& env);

} // namespace faultward

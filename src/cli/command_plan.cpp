#include "cli/command_plan.h"

#include "app/commands/list_source.h"
#include "app/reports/check_report.h"
#include "app/settings/handler_settings.h"
#include "app/settings/settings.h"
#include "app/settings/template_file.h"
#include "app/texts/texts.h"
#include "platform/path_bytes.h"
#include "project/group_reader.h"

#include <algorithm>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace faultward {
namespace {

// One worker a core: on a real disk they also wait for their flushes
// together.
int defaultJobs() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, static_cast<unsigned>(kMaxJobs)));
}

// The passes a command runs; list and check run none of these, and only
// read.
PassCommand passesOf(CliCommand command) {
    switch (command) {
    case CliCommand::Insert:
        return PassCommand::Insert;
    case CliCommand::Number:
        return PassCommand::Number;
    case CliCommand::Unnumber:
        return PassCommand::Unnumber;
    default:
        return PassCommand::Remove;
    }
}

// The settings the command reads, for the notice of those a file changed.
std::vector<SettingKey> keysUsed(CliCommand command, const LayeredSettings& settings,
                                 bool lineNumbers) {
    using enum SettingKey;
    std::vector<SettingKey> keys = {Files};
    if (command == CliCommand::Insert || command == CliCommand::Check) {
        keys.insert(keys.end(), {Procedures, SkipHandled, Handler});
        keys.push_back(settings.handler.handler == HandlerSource::Template ? Template : Mode);
    }
    if (command == CliCommand::Insert || command == CliCommand::Remove)
        keys.push_back(LineNumbers);
    if (lineNumbers || command == CliCommand::Number || command == CliCommand::Unnumber)
        keys.push_back(Procedures);
    if ((lineNumbers && command == CliCommand::Insert) || command == CliCommand::Number)
        keys.insert(keys.end(), {Start, Step});
    return keys;
}

// The option that leaves a file's settings out.
std::string_view settingsLeftOutBy(SettingOrigin origin) {
    return origin == SettingOrigin::ProjectFile ? "--no-project-settings" : "--no-settings";
}

// The [Leave] items a settings file holds, for the command; nothing for none.
std::shared_ptr<LeaveItems> leaveItemsOf(const ProjectSettingsFile& file) {
    std::vector<std::string> items = file.leaveItems();
    if (items.empty())
        return nullptr;
    return std::make_shared<LeaveItems>(LeaveItems{file.displayName(), std::move(items), {}});
}

// "faultward-cli: settings from FILE: Procedures=Sub, [Leave] 2 items (...)".
void nameSettingsFile(const SettingsLayer& layer, std::vector<std::string> changed,
                      std::size_t leaveCount, CliEnvironment& env) {
    for (const std::string& warning : layer.values.warnings)
        env.err << "faultward-cli: warning: " << storedSettingMessage(layer.file, warning) << '\n';
    // A project's file is named whenever it is used.
    const bool project = layer.origin == SettingOrigin::ProjectFile;
    if (project && leaveCount > 0)
        changed.push_back("[Leave] " + counted(leaveCount, "item"));
    if (changed.empty() && !project)
        return;
    if (changed.empty())
        changed.emplace_back("none that change this command");
    env.err << "faultward-cli: settings from " << layer.file << ":";
    for (std::size_t j = 0; j < changed.size(); ++j)
        env.err << (j == 0 ? " " : ", ") << changed[j];
    env.err << " (" << settingsLeftOutBy(layer.origin) << " leaves them out)\n";
}

// Says once which stored settings change what the command does, and names
// what is wrong in them.
void reportStoredSettings(const Arguments& parsed, const LayeredSettings& settings,
                          std::span<const SettingsLayer> layers, bool lineNumbers,
                          std::size_t leaveCount, CliEnvironment& env) {
    const std::vector<SettingKey> keys = keysUsed(parsed.command, settings, lineNumbers);
    for (std::size_t i = 0; i < layers.size(); ++i)
        if (layers[i].origin != SettingOrigin::CommandLine)
            nameSettingsFile(layers[i], settingsChanged(settings, layers, i, keys), leaveCount,
                             env);
}

// A group's project's own settings file: its [Leave] items count for its
// files, and its [Handler] keys that would change the command are named as
// not used. False, with the message, when it cannot be read.
bool readGroupProjectSettings(const Arguments& parsed, const fs::path& project,
                              const fs::path& group, std::span<const SettingsLayer> layers,
                              bool lineNumbers, std::shared_ptr<LeaveItems>& leave,
                              CliEnvironment& env) {
    ProjectSettingsFile file(projectSettingsPath(project), project);
    std::error_code error;
    if (fs::equivalent(file.path(), projectSettingsPath(group), error))
        return true; // the group's own, read already
    if (!readProjectSettings(file, env))
        return false;
    if (!file.existed())
        return true;
    leave = leaveItemsOf(file);
    // The project's layer as if it were under the group's: what it would change.
    std::vector<SettingsLayer> below(layers.begin(), layers.end());
    const auto place = std::find_if(below.begin(), below.end(), [](const SettingsLayer& layer) {
        return layer.origin == SettingOrigin::UserFile;
    });
    const auto at = static_cast<std::size_t>(place - below.begin());
    below.insert(place, projectSettingsLayer(file, project.parent_path()));
    const LayeredSettings settings = layerSettings(below);
    const std::vector<std::string> unused =
        settingsChanged(settings, below, at, keysUsed(parsed.command, settings, lineNumbers));
    nameSettingsFile(below[at], {}, leave ? leave->items.size() : 0, env);
    if (unused.empty())
        return true;
    env.err << "faultward-cli: warning: "
            << handlerKeysUnusedMessage(below[at].file, unused,
                                        pathDisplayText(bytesFromPath(projectSettingsPath(group))))
            << '\n';
    return true;
}

// The template the settings choose; nothing, with the message, when it
// cannot be used.
std::shared_ptr<const HandlerTemplate> loadTemplate(const LayeredSettings& settings,
                                                    std::span<const SettingsLayer> layers,
                                                    CliEnvironment& env) {
    const std::string& file = settings.handler.templatePath;
    const SettingsLayer& layer = layers[*settings.origin(SettingKey::Template)];
    const bool stored = layer.origin != SettingOrigin::CommandLine;
    const std::string key = stored ? storedKeyName(layer, SettingKey::Template) : std::string();
    if (file.empty()) {
        env.err << "faultward-cli: " << key << " is empty; --mode or --template overrides it\n";
        return nullptr;
    }
    const TemplateFileRead read = readTemplateFile(file, file);
    if (!read.handlerTemplate) {
        env.err << "faultward-cli: ";
        if (stored)
            env.err << key << layer.values.templatePath.value_or("") << ": ";
        env.err << read.problem << (read.contentsRefused ? "; nothing written" : "");
        if (stored)
            env.err << "; --mode or --template overrides it";
        env.err << '\n';
    }
    return read.handlerTemplate;
}

// A template named by the project's own settings file that lies outside
// the project's folder.
std::optional<OutsideFile> templateOutside(const LayeredSettings& settings,
                                           std::span<const SettingsLayer> layers,
                                           const fs::path& top) {
    const SettingsLayer& layer = layers[*settings.origin(SettingKey::Template)];
    if (layer.origin != SettingOrigin::ProjectFile)
        return std::nullopt;
    return outsideTemplate(ProjectFolder(top), settings.handler.templatePath,
                           layer.values.templatePath.value_or(""), layer.file);
}

} // namespace

bool commandWrites(const Arguments& parsed) {
    return parsed.command != CliCommand::List && parsed.command != CliCommand::Check &&
           parsed.command != CliCommand::Init && !parsed.dryRun;
}

bool writesOutsideOnlyWithWord(const Arguments& parsed) {
    return commandWrites(parsed) && !parsed.allowOutside;
}

SettingsLayer commandLineLayer(const Arguments& parsed) {
    SettingsLayer layer;
    layer.origin = SettingOrigin::CommandLine;
    StoredHandlerSettings& values = layer.values;
    values.procedures = parsed.procedures;
    values.files = parsed.kinds;
    values.skipHandled = parsed.skipHandled;
    values.lineNumbers = parsed.lineNumbers;
    values.start = parsed.start;
    values.step = parsed.step;
    if (parsed.templateFile) {
        values.handler = HandlerSource::Template;
        values.templatePath = *parsed.templateFile;
    } else if (parsed.mode) {
        // --mode takes 16-bit numbers only.
        values.handler = HandlerSource::Mode;
        values.mode = handlingModeOf(static_cast<std::int16_t>(*parsed.mode));
    }
    return layer;
}

bool readProjectSettings(ProjectSettingsFile& file, CliEnvironment& env) {
    if (const std::optional<std::string> cause = file.load()) {
        env.err << "faultward-cli: " << file.displayName() << ": " << *cause << '\n';
        return false;
    }
    return true;
}

std::optional<CommandPlan> planCommand(const Arguments& parsed, const fs::path& top,
                                       std::span<const fs::path> groupProjects,
                                       CliEnvironment& env) {
    const bool inGroup = isGroupFile(top);
    CommandPlan command{
        parsed, passesOf(parsed.command), InsertionOptions(), kDefaultSourceKinds, inGroup, 1};
    // Every option given overrides its stored setting; the project's own
    // settings come next, then what the desktop program is set to do, then
    // the built-in defaults.
    std::vector<SettingsLayer> layers = {commandLineLayer(parsed)};
    if (!parsed.noProjectSettings) {
        ProjectSettingsFile file(projectSettingsPath(top), top);
        if (!readProjectSettings(file, env))
            return std::nullopt;
        if (file.existed()) {
            layers.push_back(projectSettingsLayer(file, holdingFolder(top)));
            command.leave = leaveItemsOf(file);
        }
    }
    if (!parsed.noSettings) {
        const std::unique_ptr<IniFileStore> store = openSettingsStore(env.settingsFolder);
        layers.push_back(userSettingsLayer(*store));
    }
    const LayeredSettings settings = layerSettings(layers);
    const bool numbers =
        command.passes == PassCommand::Number || command.passes == PassCommand::Unnumber ||
        ((parsed.command == CliCommand::Insert || parsed.command == CliCommand::Remove) &&
         settings.handler.lineNumbers);
    if (const auto problem = lineNumberOptionProblem(parsed, numbers)) {
        env.err << "faultward-cli: " << *problem << "\nTry 'faultward-cli --help'.\n";
        return std::nullopt;
    }
    reportStoredSettings(parsed, settings, layers, numbers,
                         command.leave ? command.leave->items.size() : 0, env);
    if (!parsed.noProjectSettings) {
        command.projectLeave.resize(groupProjects.size());
        for (std::size_t i = 0; i < groupProjects.size(); ++i)
            if (!readGroupProjectSettings(parsed, groupProjects[i], top, layers, numbers,
                                          command.projectLeave[i], env))
                return std::nullopt;
    }

    command.kinds = settings.handler.files;
    command.jobs = parsed.jobs ? *parsed.jobs : defaultJobs();
    if (parsed.command == CliCommand::Insert || parsed.command == CliCommand::Check) {
        if (settings.handler.handler == HandlerSource::Template) {
            command.outsideTemplate = templateOutside(settings, layers, top);
            // Such a template is refused before it is read, with the other
            // files outside.
            const bool refused = command.outsideTemplate && writesOutsideOnlyWithWord(parsed);
            if (!refused)
                command.insertion.handlerTemplate = loadTemplate(settings, layers, env);
            if (!refused && !command.insertion.handlerTemplate)
                return std::nullopt;
        } else {
            command.insertion.mode = settings.mode;
        }
        command.insertion.procedures = settings.handler.procedures;
        command.insertion.skipHandled = settings.handler.skipHandled;
    }
    if (parsed.format == "json")
        command.json = std::make_shared<ProcedureJson>();
    if (numbers) {
        NumberingOptions numbering;
        numbering.start = settings.start;
        numbering.step = settings.step;
        numbering.procedures = settings.handler.procedures;
        numbering.renumber = parsed.renumber;
        command.lineNumbers = numbering;
    }
    return command;
}

std::vector<LeaveFileInForce> leaveFilesOf(const CommandPlan& command, std::size_t index,
                                           std::string_view projectAsWritten) {
    // A group's list names the entries of its projects from the group's folder.
    std::vector<LeaveFileInForce> files = {
        {command.leave, command.inGroup ? groupProjectFolder(projectAsWritten) : std::string()}};
    if (index < command.projectLeave.size())
        files.push_back({command.projectLeave[index], {}});
    return files;
}

} // namespace faultward

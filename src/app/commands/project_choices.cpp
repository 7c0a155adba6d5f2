#include "app/commands/project_choices.h"

#include "app/settings/handler_settings.h"
#include "app/texts/texts.h"
#include "platform/path_bytes.h"

namespace faultward {
namespace {

constexpr std::string_view kKeys[] = {kProceduresKey, kFilesKey,    kSkipHandledKey,
                                      kHandlerKey,    kTemplateKey, kLineNumbersKey,
                                      kModeKey,       kStartKey,    kStepKey};

} // namespace

std::string choicesNotSavedMessage(std::string_view file, std::string_view cause) {
    return "The choices could not be kept in " + std::string(file) + ": " + std::string(cause) +
           ".";
}

std::vector<std::string> ProjectChoices::open(const std::filesystem::path& listFile) {
    close();
    listFile_ = listFile;
    auto file = std::make_unique<ProjectSettingsFile>(projectSettingsPath(listFile), listFile);
    if (const std::optional<std::string> cause = file->load()) {
        // What it would leave alone is not known: all of it is, as the
        // command line does nothing with such a project.
        unreadable_ = file->displayName();
        reread();
        return {"The project's settings " + file->displayName() + " could not be read: " + *cause +
                ". Its files are left alone."};
    }
    file_ = std::move(file);
    folder_ = holdingFolder(listFile);
    reread();
    std::vector<std::string> messages;
    for (const std::string& warning : layer_.values.warnings)
        messages.push_back(storedSettingMessage(layer_.file, warning));
    return messages;
}

std::vector<std::string> ProjectChoices::openProjects(std::span<const ListPart> parts,
                                                      std::span<const ListEntry> entries,
                                                      const SettingsLayer& user) {
    projects_.clear();
    std::vector<std::string> messages;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const ListPart& part = parts[i];
        ProjectSettingsFile file(projectSettingsPath(part.file), part.file);
        std::error_code error;
        if (file_ && std::filesystem::equivalent(file.path(), file_->path(), error))
            continue; // the group's own
        ProjectLeave leave{file.displayName(), {}, groupProjectFolder(part.name), {}};
        const std::size_t end = i + 1 < parts.size() ? parts[i + 1].firstEntry : entries.size();
        for (std::size_t e = part.firstEntry; e < end && e < entries.size(); ++e)
            leave.entries.push_back(entries[e].text);
        if (const std::optional<std::string> cause = file.load()) {
            // What it would leave alone is not known: all of it is.
            leave.items = {"*"};
            messages.push_back("The project's settings " + file.displayName() +
                               " could not be read: " + *cause + ". Its files are left alone.");
        } else if (file.existed()) {
            leave.items = file.leaveItems();
            const SettingsLayer own = projectSettingsLayer(file, part.file.parent_path());
            for (const std::string& warning : own.values.warnings)
                messages.push_back(storedSettingMessage(own.file, warning));
            std::vector<SettingsLayer> layers = {own, user};
            if (file_)
                layers.insert(layers.begin(), layer_);
            const std::size_t at = file_ ? 1 : 0;
            const std::vector<SettingKey> keys(kAllSettingKeys.begin(), kAllSettingKeys.end());
            const std::vector<std::string> unused =
                settingsChanged(layerSettings(layers), layers, at, keys);
            if (!unused.empty())
                messages.push_back(handlerKeysUnusedMessage(
                    own.file, unused,
                    pathDisplayText(bytesFromPath(projectSettingsPath(listFile_)))));
        }
        if (!leave.items.empty())
            projects_.push_back(std::move(leave));
    }
    reread();
    return messages;
}

void ProjectChoices::close() {
    file_.reset();
    unreadable_.clear();
    projects_.clear();
    layer_ = {};
    leave_ = std::make_shared<LeaveList>();
    keepsHandler_ = false;
}

std::string ProjectChoices::fileName() const {
    return file_ ? file_->displayName() : std::string();
}

void ProjectChoices::reread() {
    auto leave = std::make_shared<LeaveList>();
    keepsHandler_ = false;
    if (file_) {
        layer_ = projectSettingsLayer(*file_, folder_);
        leave->add(file_->displayName(), file_->leaveItems());
        for (const std::string_view key : kKeys)
            keepsHandler_ |= file_->readString(kHandlerSection, key, "\x01", 4) != "\x01";
    }
    if (!unreadable_.empty())
        leave->add(unreadable_, {"*"});
    for (const ProjectLeave& project : projects_)
        leave->addForEntries(project.file, project.items, project.prefix, project.entries);
    leave_ = std::move(leave);
}

LayeredSettings ProjectChoices::settings(const SettingsLayer& user) const {
    if (!file_)
        return layerSettings(std::span(&user, 1));
    const SettingsLayer layers[] = {layer_, user};
    return layerSettings(layers);
}

std::optional<std::filesystem::path>
ProjectChoices::templateSource(const LayeredSettings& settings) const {
    // The file's layer comes first.
    if (!file_ || settings.handler.handler != HandlerSource::Template ||
        settings.origin(SettingKey::Template) != 0)
        return std::nullopt;
    return file_->path();
}

std::optional<std::string> ProjectChoices::save() {
    if (const std::optional<std::string> cause = file_->save()) {
        // What is on disk is what counts: the change is given up.
        file_->load();
        reread();
        return choicesNotSavedMessage(file_->displayName(), *cause);
    }
    reread();
    return std::nullopt;
}

std::optional<std::string> ProjectChoices::setFilesLeft(const std::vector<std::string>& entries,
                                                        bool left) {
    if (!file_)
        return std::nullopt;
    bool changed = false;
    for (const std::string& entry : entries)
        changed |= file_->setLeft(fileLeaveItem(entry), left);
    return changed ? save() : std::nullopt;
}

std::optional<std::string> ProjectChoices::setProcedureLeft(const std::string& entry,
                                                            const std::string& procedure,
                                                            bool left) {
    if (!file_)
        return std::nullopt;
    if (file_->setLeft(procedureLeaveItem(entry, procedure), left))
        if (auto problem = save())
            return problem;
    if (!left)
        if (const auto other = leave_->fileLeaving(entry, procedure))
            return procedure + " is still left alone by a line of " + *other +
                   " that names more than it; change that line there.";
    return std::nullopt;
}

std::optional<std::string> ProjectChoices::keepHandlerSettings(const HandlerSettings& settings,
                                                               HandlingMode mode) {
    if (!file_)
        return std::nullopt;
    StoredHandlerSettings stored = storedForm(settings, mode);
    if (stored.templatePath)
        stored.templatePath = pathAsEntry(*stored.templatePath, folder_);
    // One handler choice at a time: a template takes the mode's place.
    file_->removeKey(kHandlerSection, stored.mode ? kTemplateKey : kModeKey);
    writeHandlerKeys(*file_, stored);
    return save();
}

std::optional<std::string> ProjectChoices::dropHandlerSettings() {
    if (!file_ || !keepsHandler_)
        return std::nullopt;
    for (const std::string_view key : kKeys)
        file_->removeKey(kHandlerSection, key);
    return save();
}

std::optional<std::string> ProjectChoices::setMode(HandlingMode mode) {
    if (!file_ || !keepsHandler_)
        return std::nullopt;
    file_->writeString(kHandlerSection, kHandlerKey, "Mode");
    file_->writeString(kHandlerSection, kModeKey, std::to_string(storedValue(mode)));
    return save();
}

} // namespace faultward

#include "app/project_choices.h"

#include "app/handler_settings.h"
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

std::optional<std::string> ProjectChoices::open(const std::filesystem::path& listFile) {
    close();
    auto file = std::make_unique<ProjectSettingsFile>(projectSettingsPath(listFile));
    if (const std::optional<std::string> cause = file->load())
        return "The project's settings " + file->displayName() + " could not be read: " + *cause +
               ".";
    file_ = std::move(file);
    folder_ = holdingFolder(listFile);
    reread();
    return std::nullopt;
}

void ProjectChoices::close() {
    file_.reset();
    layer_ = {};
    leave_ = std::make_shared<LeaveList>();
    keepsHandler_ = false;
}

std::string ProjectChoices::fileName() const {
    return file_ ? file_->displayName() : std::string();
}

void ProjectChoices::reread() {
    layer_ = projectSettingsLayer(*file_, folder_);
    leave_ = std::make_shared<LeaveList>(file_->leaveItems());
    keepsHandler_ = false;
    for (const std::string_view key : kKeys)
        keepsHandler_ |= file_->readString(kHandlerSection, key, "\x01", 4) != "\x01";
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
    if (!left && leave_->leavesProcedure(entry, procedure))
        return procedure + " is still left alone by a line of " + file_->displayName() +
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

#include "app/desktop/handler_settings_dialog.h"

#include "app/desktop/handler_settings_captions.h"
#include "app/settings/template_file.h"
#include "platform/path_bytes.h"

namespace faultward {

HandlerSettingsDialog::HandlerSettingsDialog(const HandlerSettings& current, MainWindowView& main,
                                             HelpOpener& help)
    : settings_(current), main_(main), help_(help) {}

namespace {

template <typename Kind>
KindSet<Kind> withKind(KindSet<Kind> kinds, Kind kind, bool chosen,
                       std::initializer_list<Kind> all) {
    KindSet<Kind> result;
    for (const Kind each : all)
        if (each == kind ? chosen : kinds.has(each))
            result = result | each;
    return result;
}

} // namespace

void HandlerSettingsDialog::setProcedureKind(ProcedureKind kind, bool chosen) {
    settings_.procedures =
        withKind(settings_.procedures, kind, chosen,
                 {ProcedureKind::Sub, ProcedureKind::Function, ProcedureKind::Property});
}

void HandlerSettingsDialog::setSourceKind(SourceKind kind, bool chosen) {
    settings_.files = withKind(settings_.files, kind, chosen,
                               {SourceKind::Form, SourceKind::Module, SourceKind::Class,
                                SourceKind::UserControl, SourceKind::Document});
}

void HandlerSettingsDialog::setSkipHandled(bool skip) {
    settings_.skipHandled = skip;
}

void HandlerSettingsDialog::setHandlerSource(HandlerSource source) {
    settings_.handler = source;
}

void HandlerSettingsDialog::setTemplatePath(std::string pathBytes) {
    settings_.templatePath = std::move(pathBytes);
}

void HandlerSettingsDialog::setLineNumbers(bool number) {
    settings_.lineNumbers = number;
}

std::optional<std::string> HandlerSettingsDialog::browse() {
    std::optional<std::string> chosen =
        main_.askOpenFile({settings_.templatePath, kTemplateFilter, 1});
    if (chosen) {
        settings_.templatePath = *chosen;
        settings_.handler = HandlerSource::Template;
    }
    return chosen;
}

void HandlerSettingsDialog::help() {
    help_.showHelpSection(kHandlerSettingsHelpSection);
}

std::optional<std::string> HandlerSettingsDialog::ok() {
    if (settings_.procedures.empty())
        return std::string(kNoProcedureKindText);
    if (settings_.files.empty())
        return std::string(kNoSourceKindText);
    if (settings_.handler == HandlerSource::Template) {
        if (settings_.templatePath.empty())
            return std::string(kNoTemplateText);
        const TemplateFileRead read =
            readTemplateFile(settings_.templatePath, pathDisplayText(settings_.templatePath));
        if (!read.handlerTemplate)
            return "The handler " + read.problem + ".";
    }
    accepted_ = true;
    return std::nullopt;
}

void HandlerSettingsDialog::offerKeepWithProject(std::string_view fileName, bool kept) {
    const std::size_t slash = fileName.find_last_of("\\/");
    const std::string_view name =
        slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    // An ampersand of the name is shown as one, not taken for an access key.
    keepCaption_ = std::string(settingsCaption(SettingsControl::KeepWithProject)) + " (";
    for (const char c : name)
        keepCaption_ += c == '&' ? std::string("&&") : std::string(1, c);
    keepCaption_ += ")";
    keep_ = kept;
}

void HandlerSettingsDialog::cancel() {
    accepted_ = false;
}

} // namespace faultward

#pragma once

#include "app/desktop/help_opener.h"
#include "app/desktop/views.h"
#include "app/settings/handler_settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace faultward {

// The Handler Settings dialog's filter for Browse, and the help section its
// Help button and F1 open.
inline constexpr std::string_view kTemplateFilter =
    "Handler templates (*.txt)|*.txt|All Files (*.*)|*.*";
inline constexpr std::string_view kHandlerSettingsHelpSection = "handlersettings";
inline constexpr std::string_view kHandlerSettingsTitle = "Handler Settings";

// What the Handler Settings dialog does, whatever shows it. It starts from
// the current settings; the front end shows settings() in its controls, sets
// them back as the user changes them (or all at once before OK), and closes
// the dialog when ok() returns no message or on cancel(). Nothing is written
// to any file here.
class HandlerSettingsDialog {
public:
    HandlerSettingsDialog(const HandlerSettings& current, MainWindowView& main, HelpOpener& help);

    const HandlerSettings& settings() const { return settings_; }
    // The template path and Browse are there to use only while the handler
    // code comes from a template.
    bool templatePathEnabled() const { return settings_.handler == HandlerSource::Template; }
    void setProcedureKind(ProcedureKind kind, bool chosen);
    void setSourceKind(SourceKind kind, bool chosen);
    void setSkipHandled(bool skip);
    void setHandlerSource(HandlerSource source);
    void setTemplatePath(std::string pathBytes);
    void setLineNumbers(bool number);

    // Browse...: the open dialog at the template path; a file chosen becomes
    // the template path and chooses the template. The chosen path, if any.
    std::optional<std::string> browse();
    // Help and F1: the help file's section on these settings.
    void help();
    // OK: nothing when the settings are accepted and the dialog closes;
    // otherwise the message to show while it stays open.
    std::optional<std::string> ok();
    void cancel();

    // After the dialog closed: whether OK accepted the settings.
    bool accepted() const { return accepted_; }

    // With a project open, the settings can be kept with it, in its own
    // settings file, for everyone who works on it, instead of as this user's.
    // The caption names that file; empty when there is no project to keep
    // them with.
    void offerKeepWithProject(std::string_view fileName, bool kept);
    const std::string& keepWithProjectCaption() const { return keepCaption_; }
    bool keepWithProject() const { return keep_; }
    void setKeepWithProject(bool keep) { keep_ = keep && !keepCaption_.empty(); }

private:
    HandlerSettings settings_;
    std::string keepCaption_;
    bool keep_ = false;
    MainWindowView& main_;
    HelpOpener& help_;
    bool accepted_ = false;
};

// The messages OK shows.
inline constexpr std::string_view kNoProcedureKindText =
    "Choose at least one kind of procedure: Sub, Function or Property.";
inline constexpr std::string_view kNoSourceKindText =
    "Choose at least one kind of file: Forms, Modules, Classes or User Controls.";
inline constexpr std::string_view kNoTemplateText =
    "Give the template file, or choose the handling mode of the Options menu.";

} // namespace faultward

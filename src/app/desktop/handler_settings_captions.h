#pragma once

#include <string_view>

namespace faultward {

// The controls of the Handler Settings dialog that carry a caption.
enum class SettingsControl {
    ProceduresGroup,
    Sub,
    Function,
    Property,
    FilesGroup,
    Forms,
    Modules,
    Classes,
    UserControls,
    Documents,
    SkipHandled,
    LineNumbers,
    KeepWithProject,
    HandlerGroup,
    ModeChoice,
    TemplateChoice,
    Browse,
    Ok,
    Cancel,
    Help,
};

struct ControlCaption {
    SettingsControl control;
    std::string_view caption;
};

// Every front end captions the dialog from this one table, so the words and
// the access keys (the letter after "&") are the same in both programs.
inline constexpr ControlCaption kSettingsCaptions[] = {
    {SettingsControl::ProceduresGroup, "Procedures"},
    {SettingsControl::Sub, "&Sub"},
    {SettingsControl::Function, "&Function"},
    {SettingsControl::Property, "&Property (Get/Let/Set)"},
    {SettingsControl::FilesGroup, "Files"},
    {SettingsControl::Forms, "Fo&rms (.frm)"},
    {SettingsControl::Modules, "&Modules (.bas)"},
    {SettingsControl::Classes, "&Classes (.cls)"},
    {SettingsControl::UserControls, "&User Controls (.ctl)"},
    {SettingsControl::Documents, "&Documents (ThisWorkbook)"},
    {SettingsControl::SkipHandled, "&Leave procedures that handle their own errors"},
    {SettingsControl::LineNumbers,
     "&Number the lines (Insert adds the numbers, Remove takes them out)"},
    {SettingsControl::KeepWithProject, "&Keep with the project"},
    {SettingsControl::HandlerGroup, "Handler code"},
    {SettingsControl::ModeChoice, "The handling mode of the &Options menu"},
    {SettingsControl::TemplateChoice, "A &template file:"},
    {SettingsControl::Browse, "&Browse..."},
    {SettingsControl::Ok, "OK"},
    {SettingsControl::Cancel, "Cancel"},
    {SettingsControl::Help, "&Help"},
};

constexpr std::string_view settingsCaption(SettingsControl control) {
    for (const ControlCaption& each : kSettingsCaptions)
        if (each.control == control)
            return each.caption;
    return {};
}

} // namespace faultward

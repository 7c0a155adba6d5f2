#pragma once

#include "app/commands/pass_driver.h"
#include "app/settings/handler_settings.h"
#include "app/settings/settings_layers.h"

#include <optional>
#include <string>
#include <string_view>

namespace faultward {

// What the handler settings give a command's passes.
struct PassSettings {
    InsertionOptions insertion;
    std::optional<NumberingOptions> lineNumbers;
    // Why the command cannot run (the template cannot be used); empty when it can.
    std::string problem;
};

// For Insert, Remove, Number and Unnumber, and with readTemplate for what
// judges by insertion (preview and check). mode is the Options menu's;
// projectName fills a template's {project}. The defaults give what the
// program has always done.
PassSettings passSettings(const HandlerSettings& settings, HandlingMode mode,
                          std::string_view projectName, PassCommand command);
PassSettings surveySettings(const HandlerSettings& settings, HandlingMode mode,
                            std::string_view projectName);
// The same for the settings in force, a project's own over the user's, with
// the line numbers' start and step.
PassSettings passSettings(const LayeredSettings& settings, std::string_view projectName,
                          PassCommand command);

} // namespace faultward

#include "app/commands/pass_settings.h"

#include "app/settings/template_file.h"
#include "platform/path_bytes.h"

namespace faultward {
namespace {

void setInsertion(PassSettings& pass, const HandlerSettings& settings, HandlingMode mode,
                  std::string_view projectName) {
    pass.insertion = InsertionOptions(mode);
    pass.insertion.procedures = settings.procedures;
    pass.insertion.skipHandled = settings.skipHandled;
    if (settings.handler != HandlerSource::Template)
        return;
    // Read at every use, so an edited template counts at once.
    const TemplateFileRead read =
        readTemplateFile(settings.templatePath, pathDisplayText(settings.templatePath));
    if (!read.handlerTemplate) {
        pass.problem = "The handler " + read.problem + "; nothing was changed.";
        return;
    }
    pass.insertion.handlerTemplate = read.handlerTemplate;
    pass.insertion.projectName = std::string(projectName);
}

} // namespace

PassSettings passSettings(const HandlerSettings& settings, HandlingMode mode,
                          std::string_view projectName, PassCommand command) {
    PassSettings pass;
    if (command == PassCommand::Insert)
        setInsertion(pass, settings, mode, projectName);
    else
        pass.insertion = InsertionOptions(mode);
    const bool numbering = command == PassCommand::Number || command == PassCommand::Unnumber;
    if (numbering || settings.lineNumbers) {
        NumberingOptions options;
        options.procedures = settings.procedures;
        pass.lineNumbers = options;
    }
    return pass;
}

PassSettings surveySettings(const HandlerSettings& settings, HandlingMode mode,
                            std::string_view projectName) {
    PassSettings pass;
    setInsertion(pass, settings, mode, projectName);
    return pass;
}

PassSettings passSettings(const LayeredSettings& settings, std::string_view projectName,
                          PassCommand command) {
    PassSettings pass = passSettings(settings.handler, settings.mode, projectName, command);
    if (pass.lineNumbers) {
        pass.lineNumbers->start = settings.start;
        pass.lineNumbers->step = settings.step;
    }
    return pass;
}

} // namespace faultward

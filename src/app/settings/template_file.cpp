#include "app/settings/template_file.h"

#include "platform/path_bytes.h"
#include "platform/source_file.h"
#include "rewrite/passes.h"

#include <filesystem>
#include <optional>

namespace faultward {

TemplateFileRead readTemplateFile(const std::string& fileBytes, std::string_view shownName) {
    TemplateFileRead read;
    const std::string named = "template " + std::string(shownName);
    std::error_code error;
    const std::filesystem::path path = pathFromBytes(fileBytes);
    if (std::filesystem::file_size(path, error) > kMaxTemplateSize && !error) {
        read.problem = named + " is larger than 64 KiB";
        return read;
    }
    std::string text;
    if (const ReadStatus status = readRegularFile(path, text); status != ReadStatus::Ok) {
        read.problem = named + ": " + std::string(describe(readFailure(status)));
        return read;
    }
    std::string problem;
    std::optional<HandlerTemplate> parsed = HandlerTemplate::parse(text, problem);
    if (!parsed) {
        // "is saved as UTF-16" is about the whole file, the rest about a line or section.
        const char* joint = problem.starts_with("is ") ? " " : ", ";
        read.problem = named + joint + problem;
        read.contentsRefused = true;
        return read;
    }
    read.handlerTemplate = std::make_shared<const HandlerTemplate>(std::move(*parsed));
    return read;
}

} // namespace faultward

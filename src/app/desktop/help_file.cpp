#include "app/desktop/help_file.h"

#include <system_error>

namespace faultward {

std::filesystem::path findHelpFile(const std::vector<std::filesystem::path>& folders) {
    std::error_code error;
    for (const std::filesystem::path& folder : folders) {
        const std::filesystem::path file = std::filesystem::absolute(folder / kHelpFileName, error);
        if (!error && std::filesystem::is_regular_file(file, error))
            return file;
    }
    if (folders.empty())
        return {};
    const std::filesystem::path first = folders.front() / kHelpFileName;
    const std::filesystem::path absolute = std::filesystem::absolute(first, error);
    return error ? first : absolute;
}

std::string missingHelpText(std::string_view pathText) {
    return "The help file " + std::string(pathText) + " could not be found.";
}

std::string unopenedHelpText(std::string_view pathText) {
    return "The help file " + std::string(pathText) +
           " could not be opened. Open it in a web browser instead.";
}

} // namespace faultward

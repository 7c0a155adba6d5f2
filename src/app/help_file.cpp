#include "app/help_file.h"

namespace faultward {

std::filesystem::path helpFilePath(const std::filesystem::path& appPath) {
    return appPath / kHelpFileName;
}

std::string missingHelpText(std::string_view pathText) {
    return "The help file " + std::string(pathText) + " could not be found.";
}

std::string unopenedHelpText(std::string_view pathText) {
    return "The help file " + std::string(pathText) +
           " could not be opened. Open it in a web browser instead.";
}

} // namespace faultward

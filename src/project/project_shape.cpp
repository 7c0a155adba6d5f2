#include "project/project_shape.h"

#include "platform/path_bytes.h"
#include "platform/windows_names.h"
#include "project/group_reader.h"

#include <algorithm>
#include <array>

namespace fs = std::filesystem;

namespace faultward {
namespace {

constexpr std::array<std::string_view, 32> kDocumentExtensions = {
    // Office Open XML with macros, and without (refused for holding no project).
    ".xlsm", ".xlsb", ".xltm", ".xlam", ".docm", ".dotm", ".pptm", ".potm", ".ppsm", ".ppam",
    ".xlsx", ".xltx", ".docx", ".dotx", ".pptx", ".potx", ".ppsx",
    // The binary formats of Office 97-2003.
    ".xls", ".xla", ".xlt", ".doc", ".dot", ".ppt", ".pps", ".pot",
    // Access databases, refused by name.
    ".mdb", ".mde", ".accdb", ".accde", ".accdr", ".accdt", ".adp"};

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(fs::status(path, error));
}

} // namespace

bool hasDocumentExtension(const fs::path& file) {
    const std::string extension = bytesFromPath(file.extension());
    return std::any_of(
        kDocumentExtensions.begin(), kDocumentExtensions.end(),
        [&](std::string_view known) { return equalIgnoringAsciiCase(extension, known); });
}

ProjectShape projectShapeOf(const fs::path& given) {
    if (isFolder(given))
        return ProjectShape::ModuleFolder;
    if (hasDocumentExtension(given))
        return ProjectShape::Document;
    return isGroupFile(given) ? ProjectShape::GroupFile : ProjectShape::ProjectFile;
}

fs::path holdingFolder(const fs::path& given) {
    if (!isFolder(given))
        return given.parent_path();
    // "Export/." and "Export/" are the folder Export.
    fs::path folder = given.lexically_normal();
    while (!folder.has_filename() && folder.has_relative_path())
        folder = folder.parent_path();
    return folder;
}

fs::path projectSettingsPath(const fs::path& given) {
    switch (projectShapeOf(given)) {
    case ProjectShape::ModuleFolder:
        return given / std::string(kProjectSettingsExtension);
    case ProjectShape::Document: {
        fs::path path = given;
        path += std::string(kProjectSettingsExtension);
        return path;
    }
    case ProjectShape::ProjectFile:
    case ProjectShape::GroupFile:
        break;
    }
    fs::path path = given;
    path.replace_extension(std::string(kProjectSettingsExtension));
    return path;
}

} // namespace faultward

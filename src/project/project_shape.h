#pragma once

#include <filesystem>
#include <string_view>

namespace faultward {

// What the user opened as a project: a project file (.vbp), a group of
// projects (.vbg), a folder of modules exported from a VBA project, or an
// Office document that holds a VBA project.
enum class ProjectShape { ProjectFile, GroupFile, ModuleFolder, Document };

// Whether a file name's extension is an Office document's (Excel, Word,
// PowerPoint, with macros or without, and Access databases, which are
// refused by name when read).
bool hasDocumentExtension(const std::filesystem::path& file);

// A folder is a folder of modules; a file is a document by its extension, a
// group by .vbg, and a project file otherwise, as before documents counted.
ProjectShape projectShapeOf(const std::filesystem::path& given);

// The folder that holds the project: a folder of modules is its own (as
// "Export", however it was given), a file's is the folder it is in.
std::filesystem::path holdingFolder(const std::filesystem::path& given);

// The project's own settings file: "App.faultward" beside App.vbp (and
// App.vbg), "Book.xlsm.faultward" beside a document, whose name keeps its
// extension so that Book.xlsm and Book.docm keep theirs apart, and
// ".faultward" in a folder of modules.
std::filesystem::path projectSettingsPath(const std::filesystem::path& given);
inline constexpr std::string_view kProjectSettingsExtension = ".faultward";

} // namespace faultward

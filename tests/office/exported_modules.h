#pragma once

#include "office/vba_project.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace faultward::office::testing {

// A VBA project's modules exported to files as the editor's Export File
// writes them: a module's source as it is (.bas), a class's and a document
// module's behind the class header (.cls), a form's behind its designer block
// (.frm, with a .frx beside it).

// The file name and the bytes of a module's export.
std::string exportedName(const VbaModule& module);
std::string exportedText(const VbaModule& module);
// Writes every module of the project into the folder.
void exportModules(const VbaProject& project, const std::filesystem::path& folder);
// An export's text without its header or designer block: the module's source.
std::string withoutExportHeader(std::string_view exported);

} // namespace faultward::office::testing

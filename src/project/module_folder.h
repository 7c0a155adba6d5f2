#pragma once

#include "platform/source_file.h"
#include "project/project_reader.h"
#include "rewrite/source_kind.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// A folder of modules exported from a VBA project (File > Export File, or
// the add-ins that keep a project under version control) is a project of
// its own: its .bas files are modules, its .cls files classes (or document
// modules, when they say so), its .frm files forms. Only the folder's own
// files count, not those of the folders in it: an export is one flat folder
// a project, and the folders below one are most often something else (a
// second project's export, old copies, a .git), whose modules would be
// mixed into this project's, two Module1.bas among them.
struct ModuleFolderRead {
    ReadStatus status = ReadStatus::NotFound;
    std::vector<ProjectEntry> entries; // in the folder's order
    // Files whose names no entry can hold (see listFolder), for a message.
    std::vector<std::string> unnamable;
};

// The folder's modules of the given kinds. A .cls file is read only when
// the kinds tell classes and document modules apart.
ModuleFolderRead readModuleFolder(const std::filesystem::path& folder, SourceKinds kinds);

// The project's name for a template's {project}: the folder's name.
std::string moduleFolderName(const std::filesystem::path& folder);

// Whether an exported class is a document's module (ThisWorkbook.cls,
// Sheet1.cls): the Attribute lines at its top name its base with VB_Base.
bool isDocumentModule(std::string_view classText);

} // namespace faultward

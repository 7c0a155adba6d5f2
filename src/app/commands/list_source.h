#pragma once

#include "project/project_shape.h"
#include "rewrite/passes.h"
#include "rewrite/source_kind.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace faultward {

// One project of a group as the list holds it: its name as the group writes
// it, its folder, and the list index of its first entry (its entries run to
// the next project's first).
struct ListPart {
    std::string name;
    std::filesystem::path folder;
    std::size_t firstEntry = 0;
    std::filesystem::path file = {}; // the project file
};

// What the project files list shows for a project or a group file.
struct ListSource {
    bool opened = false; // false: nothing to show, problems say why
    ProjectShape shape = ProjectShape::ProjectFile;
    std::vector<ListEntry> entries;
    // For a template's {project}: the project's Name, else its file's name;
    // for a group, each entry carries its own project's.
    std::string projectName;
    std::vector<ListPart> parts;       // a group's projects that could be read; none for a project
    std::vector<std::string> problems; // messages for the user, in order
};

// A project's entries of the given kinds in the list's order, every one
// ticked: a project file's, a folder of modules' own modules, an Office
// document's modules. A group (.vbg) gives the entries of each project it
// names in the group's order, each relative to the group's folder; a project
// of it that cannot be read is left out with a message.
ListSource readListSource(const std::string& pathBytes, SourceKinds kinds);

// An entry of a group's project as the group's list shows it: relative to
// the group's folder ("App\Forms\Main.frm" for the project "App\App.vbp").
std::string groupEntryText(std::string_view projectAsWritten, const std::string& entry);
// The folder of a group's project as the group writes it: "App\" for
// "App\App.vbp", empty for a project beside the group.
std::string groupProjectFolder(std::string_view projectAsWritten);

} // namespace faultward

#include "project/group_reader.h"

#include "platform/entry_path.h"
#include "platform/source_file.h"
#include "platform/windows_names.h"
#include "project/project_lines.h"
#include "project/project_shape.h"

#include <algorithm>
#include <variant>

namespace faultward {
namespace {

// What tells two names of one project apart: the file's identity when it
// exists, else the path the name gives.
using ProjectKey = std::variant<FileIdentity, std::filesystem::path>;

ProjectKey keyOf(const std::filesystem::path& file) {
    FileIdentity identity;
    if (identifyFile(file, identity) == ReadStatus::Ok)
        return identity;
    return file.lexically_normal();
}

} // namespace

bool isGroupFile(const std::filesystem::path& path) {
    return equalIgnoringAsciiCase(path.extension().string(), ".vbg");
}

std::vector<std::string> groupProjects(std::string_view groupText) {
    std::vector<std::string> projects;
    ProjectLines cursor(groupText);
    std::string_view line;
    while (cursor.next(line)) {
        for (const std::string_view key : {"StartupProject=", "Project="})
            if (line.starts_with(key) && line.size() > key.size())
                projects.emplace_back(line.substr(key.size()));
    }
    return projects;
}

GroupMembers groupMembers(const std::filesystem::path& groupFile, std::string_view groupText,
                          std::string_view shownName) {
    GroupMembers members;
    const std::string group = "the group file " + std::string(shownName);
    const std::filesystem::path folder = groupFile.parent_path();
    const ProjectKey self = keyOf(groupFile);
    std::vector<std::pair<ProjectKey, std::string>> seen;
    for (const std::string& name : groupProjects(groupText)) {
        const auto found = resolveEntryPath(name, folder);
        const std::filesystem::path file = found ? *found : folder / name;
        const ProjectKey key = keyOf(file);
        if (key == self) {
            members.problem =
                group + " names itself (" + name + "); a group can only name projects";
            return members;
        }
        if (isGroupFile(file)) {
            members.problem =
                group + " names the group " + name + "; a group can only name projects";
            return members;
        }
        // Groups are Visual Basic 6's; a VBA project has none.
        if (const ProjectShape shape = projectShapeOf(file); shape != ProjectShape::ProjectFile) {
            members.problem = group + " names the " +
                              (shape == ProjectShape::Document ? "document " : "folder ") + name +
                              "; a group can only name Visual Basic projects (.vbp)";
            return members;
        }
        const auto earlier = std::find_if(seen.begin(), seen.end(),
                                          [&](const auto& known) { return known.first == key; });
        if (earlier != seen.end()) {
            members.notes.push_back(group + " names " + earlier->second +
                                    (earlier->second == name ? " twice" : " again as " + name) +
                                    "; it is worked on once");
            continue;
        }
        seen.emplace_back(key, name);
        members.projects.push_back({name, file});
    }
    return members;
}

} // namespace faultward

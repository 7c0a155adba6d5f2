#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// Whether a path names a project group (.vbg, in any letter case) rather
// than a project.
bool isGroupFile(const std::filesystem::path& path);

// The projects a group's text names, in the order of its lines: every
// "StartupProject=" and "Project=" line, as written, relative to the group's
// folder.
std::vector<std::string> groupProjects(std::string_view groupText);

// A project of a group: its name as the group writes it, and its file (where
// the name would put it when no such file exists).
struct GroupMember {
    std::string name;
    std::filesystem::path file;
};

struct GroupMembers {
    std::vector<GroupMember> projects;  // each file once, in the group's order
    std::vector<std::string> notes;     // the projects the group names more than once
    std::optional<std::string> problem; // why the group cannot be worked on
};

// The projects of the group file groupFile, whose text is groupText; shownName
// is how messages name the group. A group that names itself or another group
// is refused: groups hold projects only, and following one would work on
// projects twice or without end. A project named twice (in any letter case or
// way round) is kept once, at its first place, with a note.
GroupMembers groupMembers(const std::filesystem::path& groupFile, std::string_view groupText,
                          std::string_view shownName);

} // namespace faultward

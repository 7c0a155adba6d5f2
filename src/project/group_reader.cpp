#include "project/group_reader.h"

#include "platform/windows_names.h"
#include "rewrite/text_lines.h"

namespace faultward {

bool isGroupFile(const std::filesystem::path& path) {
    return equalIgnoringAsciiCase(path.extension().string(), ".vbg");
}

std::vector<std::string> groupProjects(std::string_view groupText) {
    std::vector<std::string> projects;
    LineCursor cursor(groupText);
    std::string_view line;
    while (cursor.next(line)) {
        for (const std::string_view key : {"StartupProject=", "Project="})
            if (line.starts_with(key) && line.size() > key.size())
                projects.emplace_back(line.substr(key.size()));
    }
    return projects;
}

} // namespace faultward

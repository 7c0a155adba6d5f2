#include "app/commands/list_source.h"

#include "app/texts/texts.h"
#include "platform/path_bytes.h"
#include "project/document_project.h"
#include "project/file_list.h"
#include "project/group_reader.h"
#include "project/module_folder.h"
#include "project/project_reader.h"
#include "project/project_shape.h"

#include <new>

namespace fs = std::filesystem;

namespace faultward {
namespace {

// The project's sorted entries, or false with the message.
bool projectListEntries(const fs::path& file, const std::string& shownName, SourceKinds kinds,
                        std::vector<ListEntry>& entries, std::string& name,
                        std::vector<std::string>& problems) {
    std::string text;
    ProjectReadStatus status = readProjectText(file, text);
    if (status == ProjectReadStatus::Ok) {
        try {
            entries = sortedListEntries(projectEntries(text, kinds));
            name = projectName(text);
            if (name.empty())
                name = bytesFromPath(file.stem());
            return true;
        } catch (const std::bad_alloc&) {
            // More entries than memory holds: as unreadable as a file can be.
            status = ProjectReadStatus::NotReadable;
        }
    }
    problems.push_back(describeProjectFailure(status, shownName));
    return false;
}

ListSource folderListSource(const fs::path& folder, const std::string& shown, SourceKinds kinds) {
    ListSource source;
    ModuleFolderRead read = readModuleFolder(folder, kinds);
    if (read.status != ReadStatus::Ok) {
        source.problems.push_back(describeFolderFailure(read.status, shown));
        return source;
    }
    source.opened = true;
    source.shape = ProjectShape::ModuleFolder;
    source.entries = sortedListEntries(read.entries);
    source.projectName = moduleFolderName(folder);
    for (const std::string& name : read.unnamable)
        source.problems.push_back(unnamableModuleMessage(shown, name));
    return source;
}

ListSource documentListSource(const fs::path& file, const std::string& shown, SourceKinds kinds) {
    ListSource source;
    source.shape = ProjectShape::Document;
    const DocumentProject::Opened opened = DocumentProject::open(file);
    if (!opened.project) {
        source.problems.push_back(describeDocumentFailure(shown, opened.status, opened.refusal));
        return source;
    }
    source.opened = true;
    source.entries = sortedListEntries(opened.project->entries(kinds));
    source.projectName = opened.project->projectName();
    return source;
}

} // namespace

std::string groupProjectFolder(std::string_view projectAsWritten) {
    const std::size_t slash = projectAsWritten.find_last_of("\\/");
    return slash == std::string_view::npos ? std::string()
                                           : std::string(projectAsWritten.substr(0, slash + 1));
}

std::string groupEntryText(std::string_view projectAsWritten, const std::string& entry) {
    return entryInFolder(groupProjectFolder(projectAsWritten), entry);
}

ListSource readListSource(const std::string& pathBytes, SourceKinds kinds) {
    ListSource source;
    const fs::path file = pathFromBytes(pathBytes);
    const std::string shown = pathDisplayText(pathBytes);
    switch (projectShapeOf(file)) {
    case ProjectShape::ProjectFile:
        source.opened = projectListEntries(file, shown, kinds, source.entries, source.projectName,
                                           source.problems);
        return source;
    case ProjectShape::ModuleFolder:
        return folderListSource(file, shown, kinds);
    case ProjectShape::Document:
        return documentListSource(file, shown, kinds);
    case ProjectShape::GroupFile:
        break;
    }
    source.shape = ProjectShape::GroupFile;

    std::string text;
    const ProjectReadStatus status = readProjectText(file, text);
    if (status != ProjectReadStatus::Ok) {
        source.problems.push_back(describeProjectFailure(status, shown));
        return source;
    }
    const GroupMembers members = groupMembers(file, text, shown);
    if (members.problem) {
        source.problems.push_back(*members.problem);
        return source;
    }
    source.opened = true;
    source.projectName = bytesFromPath(file.stem());
    for (const GroupMember& member : members.projects) {
        std::vector<ListEntry> entries;
        std::string name;
        if (!projectListEntries(member.file, pathDisplayText(member.name), kinds, entries, name,
                                source.problems))
            continue;
        source.parts.push_back(
            {member.name, member.file.parent_path(), source.entries.size(), member.file});
        for (ListEntry& entry : entries) {
            entry.text = groupEntryText(member.name, entry.text);
            entry.project = name;
            source.entries.push_back(std::move(entry));
        }
    }
    return source;
}

} // namespace faultward

#include "project/project_reader.h"

#include "platform/source_file.h"
#include "platform/windows_names.h"
#include "project/project_lines.h"

#include <algorithm>
#include <new>

namespace faultward {
namespace {

constexpr std::string_view kExcludedModule = "faultward.bas";

// Characters from position `from` (counting from 1) on, at most kMaxEntryLength.
std::string_view middle(std::string_view line, std::size_t from) {
    if (from > line.size())
        return {};
    return line.substr(from - 1, kMaxEntryLength);
}

bool namesExcludedModule(std::string_view entry) {
    std::string lower(entry);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(foldAscii(c)); });
    return lower.find(kExcludedModule) != std::string::npos;
}

// The file part of a line that names a module or a class: after the name,
// ";" and one character (the blank); without a semicolon the entry starts at
// the line's second character.
std::string_view afterSemicolon(std::string_view line) {
    const std::size_t semicolon = line.find(';');
    const std::size_t p = semicolon == std::string_view::npos ? 0 : semicolon + 1;
    return middle(line, p + 2);
}

// The text after the first '=' with the quotes around it, if any, taken off.
std::string_view quotedValue(std::string_view line) {
    std::string_view value = line.substr(line.find('=') + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}

} // namespace

std::vector<std::string> projectEntries(std::string_view projectText) {
    std::vector<std::string> entries;
    for (ProjectEntry& entry : projectEntries(projectText, kDefaultSourceKinds))
        entries.push_back(std::move(entry.text));
    return entries;
}

std::vector<ProjectEntry> projectEntries(std::string_view projectText, SourceKinds kinds) {
    std::vector<ProjectEntry> entries;
    ProjectLines cursor(projectText);
    std::string_view line;
    while (cursor.next(line)) {
        if (line.starts_with("Form=")) {
            if (kinds.has(SourceKind::Form))
                entries.push_back({std::string(middle(line, 6)), SourceKind::Form});
        } else if (line.starts_with("Module=")) {
            const std::string_view entry = afterSemicolon(line);
            if (kinds.has(SourceKind::Module) && !namesExcludedModule(entry))
                entries.push_back({std::string(entry), SourceKind::Module});
        } else if (line.starts_with("Class=")) {
            if (kinds.has(SourceKind::Class))
                entries.push_back({std::string(afterSemicolon(line)), SourceKind::Class});
        } else if (line.starts_with("UserControl=")) {
            if (kinds.has(SourceKind::UserControl))
                entries.push_back({std::string(middle(line, 13)), SourceKind::UserControl});
        }
    }
    return entries;
}

std::string projectName(std::string_view projectText) {
    ProjectLines cursor(projectText);
    std::string_view line;
    while (cursor.next(line))
        if (line.starts_with("Name="))
            return std::string(quotedValue(line));
    return {};
}

std::vector<std::string> namedFiles(std::string_view projectText) {
    constexpr std::string_view kFileLines[] = {
        "Form=",     "UserControl=", "PropertyPage=", "UserDocument=",
        "Designer=", "RelatedDoc=",  "ResFile32="};
    std::vector<std::string> files;
    ProjectLines cursor(projectText);
    std::string_view line;
    while (cursor.next(line)) {
        if (line.starts_with("Module=") || line.starts_with("Class=")) {
            files.emplace_back(afterSemicolon(line));
            continue;
        }
        for (const std::string_view key : kFileLines)
            if (line.starts_with(key) && !quotedValue(line).empty())
                files.emplace_back(quotedValue(line));
    }
    return files;
}

ProjectReadStatus readProjectText(const std::filesystem::path& projectPath, std::string& text) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(projectPath, error);
    if (!error && size > kMaxProjectFileSize)
        return ProjectReadStatus::TooLarge;
    switch (readRegularFile(projectPath, text)) {
    case ReadStatus::Ok:
        if (text.size() > kMaxProjectFileSize)
            return ProjectReadStatus::TooLarge; // it grew while being read
        if (std::string_view(text).substr(0, kBinaryCheckSize).find('\0') != std::string_view::npos)
            return ProjectReadStatus::NotText;
        return ProjectReadStatus::Ok;
    case ReadStatus::NotFound:
        return ProjectReadStatus::NotFound;
    case ReadStatus::NotRegularFile:
    case ReadStatus::IsFolder:
        return ProjectReadStatus::NotRegularFile;
    case ReadStatus::TooLarge:
        return ProjectReadStatus::TooLarge;
    case ReadStatus::NotReadable:
    case ReadStatus::PermissionDenied:
    case ReadStatus::FolderPermissionDenied:
        break;
    case ReadStatus::InUse:
        return ProjectReadStatus::InUse;
    }
    return ProjectReadStatus::NotReadable;
}

ProjectRead readProjectFile(const std::filesystem::path& projectPath) {
    ProjectRead result;
    std::string content;
    result.status = readProjectText(projectPath, content);
    if (result.status != ProjectReadStatus::Ok)
        return result;
    try {
        result.entries = projectEntries(content);
    } catch (const std::bad_alloc&) {
        // More entries than memory holds: as unreadable as a file can be.
        result.entries = {};
        result.status = ProjectReadStatus::NotReadable;
    }
    return result;
}

} // namespace faultward

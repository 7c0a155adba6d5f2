#include "project/project_reader.h"

#include "platform/source_file.h"
#include "platform/windows_names.h"
#include "rewrite/text_lines.h"

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

} // namespace

std::vector<std::string> projectEntries(std::string_view projectText) {
    std::vector<std::string> entries;
    LineCursor cursor(projectText);
    std::string_view line;
    while (cursor.next(line)) {
        if (line.starts_with("Form=")) {
            entries.emplace_back(middle(line, 6));
        } else if (line.starts_with("Module=")) {
            // The module name and "; " come before the file name; without a
            // semicolon the entry starts at the line's second character.
            const std::size_t semicolon = line.find(';');
            const std::size_t p = semicolon == std::string_view::npos ? 0 : semicolon + 1;
            const std::string_view entry = middle(line, p + 2);
            if (!namesExcludedModule(entry))
                entries.emplace_back(entry);
        }
    }
    return entries;
}

ProjectRead readProjectFile(const std::filesystem::path& projectPath) {
    ProjectRead result;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(projectPath, error);
    if (!error && size > kMaxProjectFileSize) {
        result.status = ProjectReadStatus::TooLarge;
        return result;
    }
    std::string content;
    switch (readRegularFile(projectPath, content)) {
    case ReadStatus::Ok:
        if (content.size() > kMaxProjectFileSize) {
            result.status = ProjectReadStatus::TooLarge; // it grew while being read
            break;
        }
        if (std::string_view(content).substr(0, kBinaryCheckSize).find('\0') !=
            std::string_view::npos) {
            result.status = ProjectReadStatus::NotText;
            break;
        }
        try {
            result.entries = projectEntries(content);
            result.status = ProjectReadStatus::Ok;
        } catch (const std::bad_alloc&) {
            // More entries than memory holds: as unreadable as a file can be.
            result.entries = {};
            result.status = ProjectReadStatus::NotReadable;
        }
        break;
    case ReadStatus::NotFound:
        result.status = ProjectReadStatus::NotFound;
        break;
    case ReadStatus::NotRegularFile:
        result.status = ProjectReadStatus::NotRegularFile;
        break;
    case ReadStatus::NotReadable:
        result.status = ProjectReadStatus::NotReadable;
        break;
    case ReadStatus::InUse:
        result.status = ProjectReadStatus::InUse;
        break;
    }
    return result;
}

std::string describeProjectFailure(ProjectReadStatus status, const std::string& path) {
    switch (status) {
    case ProjectReadStatus::Ok:
        return {};
    case ProjectReadStatus::NotFound:
        return "The project file " + path + " does not exist.";
    case ProjectReadStatus::NotRegularFile:
        return "The project file " + path + " is not a file (it is a folder or a device).";
    case ProjectReadStatus::NotReadable:
        return "The project file " + path + " cannot be read.";
    case ProjectReadStatus::InUse:
        return "The project file " + path + " is in use by another program.";
    case ProjectReadStatus::TooLarge:
        return "The file " + path + " is larger than 16 MiB, too large to be a project file.";
    case ProjectReadStatus::NotText:
        return "The file " + path + " holds binary data; it is not a project file.";
    }
    return {};
}

} // namespace faultward

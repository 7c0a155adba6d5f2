#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// Longest entry text a project line yields; longer file names are cut.
inline constexpr std::size_t kMaxEntryLength = 250;

// The form and module file names a project's text names, in the order of its
// lines. Only "Form=" and "Module=" lines count; modules of the tool's own
// ("faultward.bas" in any case) are left out.
std::vector<std::string> projectEntries(std::string_view projectText);

// A project file is a few kilobytes of text. Anything larger, or with a NUL
// byte near its start, is some other file chosen by mistake; reading it would
// only freeze the window and take its size in memory.
inline constexpr std::uintmax_t kMaxProjectFileSize = 16 * 1024 * 1024;
inline constexpr std::size_t kBinaryCheckSize = 4096;

enum class ProjectReadStatus {
    Ok,
    NotFound,
    NotRegularFile,
    NotReadable,
    TooLarge,
    NotText,
    InUse
};

struct ProjectRead {
    ProjectReadStatus status = ProjectReadStatus::NotFound;
    std::vector<std::string> entries;
};

ProjectRead readProjectFile(const std::filesystem::path& projectPath);

// A message for a project file that could not be read, naming the path.
std::string describeProjectFailure(ProjectReadStatus status, const std::string& path);

} // namespace faultward

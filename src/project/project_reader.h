#pragma once

#include "rewrite/source_kind.h"

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

// A source file a project names, with the kind of line that names it.
struct ProjectEntry {
    std::string text;
    SourceKind kind;
};

// The entries of the given kinds, in the order of the project's lines. Class=
// lines are read like Module= lines ("Class=Name; File.cls"), UserControl=
// lines like Form= lines.
std::vector<ProjectEntry> projectEntries(std::string_view projectText, SourceKinds kinds);

// The project's name, from its Name="..." line; empty without one.
std::string projectName(std::string_view projectText);

// Every file the project's lines name, tool's module included, in the order
// of the lines: the sources of every kind, property pages, user documents,
// designers, related documents and the resource file. References and
// components name installed libraries, not files of the project, and are left out.
std::vector<std::string> namedFiles(std::string_view projectText);

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

// Reads a project file's text, refusing what cannot be a project file.
ProjectReadStatus readProjectText(const std::filesystem::path& projectPath, std::string& text);

} // namespace faultward

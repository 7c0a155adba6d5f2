#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace faultward {

// A copy of a project, or of a group and its projects, for a release build:
// the project file and every file it names go into an empty folder in the
// same layout relative to each other, so that the copy builds as the sources
// would and can be processed in place while the sources stay as they are.

// A project to copy: its file, its text, and for a project of a group its
// path as the group names it. A folder of modules (its folder the file)
// names its files in files, relative to it; a document names none there.
struct ProjectToCopy {
    std::filesystem::path file;
    std::string text;
    std::string nameInGroup;
    std::optional<std::vector<std::string>> files = std::nullopt;
};

// A companion that a form or the like names in its designer block.
struct CompanionName {
    std::string file;      // the entry of the file that names it, as its project writes it
    std::string companion; // as the file names it
};

// A file of the copy that lies outside the folder that holds the project
// (or group): named so (..\Shared\Util.bas), or through a link.
struct OutsideCopyFile {
    std::string namedBy; // the project or file whose text names it; empty: beside the project
    std::string name;    // as that text names it, or the file's name
    std::filesystem::path real;
    bool link = false; // named inside the folder, a link out of it
};

struct CopyPlan {
    // The lowest folder that holds every file to copy; its place in the copy
    // is the output folder.
    std::filesystem::path root;
    std::vector<std::filesystem::path> files; // each once
    std::vector<std::string> missing;         // named files that do not exist
    std::vector<CompanionName> missingCompanions;
    // Named by a full path: the copy still uses the file, which is not copied.
    std::vector<CompanionName> fullPathCompanions;
    // Files of the copy outside the project's folder, in the order found.
    std::vector<OutsideCopyFile> outside;
};

// Plans the copy of topFile (the .vbp, or the .vbg of the projects, a
// document, or a folder of modules, whose files are copied without it) and the
// projects, with the files alongside that exist (a project's own settings
// file). The layout holds every folder a name passes through, so that a
// name climbing with ".." reaches the copied file and never one outside the
// copy. Besides the files a project names, a form's .frx and the like
// binary companions of other designer files are copied when they exist: the
// copy would not load without them, and so is every companion that such a
// file names in its designer block. Nothing when a project names a file by a
// full path, which the copy would still share with the sources; error says
// which. Every file but topFile is placed against topFile's folder, and what
// lies outside it is in outside: the caller copies none of it unasked.
std::optional<CopyPlan> planReleaseCopy(const std::filesystem::path& topFile,
                                        const std::vector<ProjectToCopy>& projects,
                                        const std::vector<std::filesystem::path>& alongside,
                                        std::string& error);

// Why the output folder cannot take the copy: inside one of the source
// folders, not a folder, or not empty. Nothing when it can.
std::optional<std::string>
outputFolderProblem(const std::filesystem::path& output,
                    const std::vector<std::filesystem::path>& sourceFolders);

// Where a file of the plan goes in the copy.
std::filesystem::path placeInCopy(const CopyPlan& plan, const std::filesystem::path& output,
                                  const std::filesystem::path& source);

// Copies every file of the plan, bytes and permission bits unchanged (on
// Windows the read-only attribute), never readable by more people on the
// way than in the end. Nothing when every file is copied. Otherwise it stops
// at the first file that cannot be read or written, removes every file and
// folder it made, and returns the messages: what failed and why, then that
// the copy was removed or what is left of it.
std::vector<std::string> copyFiles(const CopyPlan& plan, const std::filesystem::path& output);

} // namespace faultward

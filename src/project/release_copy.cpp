#include "project/release_copy.h"

#include "platform/entry_path.h"
#include "platform/path_bytes.h"
#include "platform/source_file.h"
#include "platform/windows_names.h"
#include "project/designer_companions.h"
#include "project/project_folder.h"
#include "project/project_reader.h"
#include "project/project_shape.h"
#include "rewrite/pass_types.h"

#include <optional>
#include <set>
#include <utility>

namespace fs = std::filesystem;

namespace faultward {
namespace {

bool namesFullPath(std::string_view entry) {
    return entry.starts_with('\\') || entry.starts_with('/') ||
           (entry.size() >= 2 && entry[1] == ':');
}

// The words for why a file could not be read or written, as the passes give them.
std::string causeOf(ReadStatus status) {
    switch (status) {
    case ReadStatus::NotFound:
        return std::string(describe(FileOutcome::NotFound));
    case ReadStatus::NotRegularFile:
        return std::string(describe(FileOutcome::NotRegularFile));
    case ReadStatus::InUse:
        return std::string(describe(FileOutcome::InUse));
    default:
        return std::string(describe(FileOutcome::NotReadable));
    }
}

std::string causeOf(WriteStatus status) {
    switch (status) {
    case WriteStatus::NotWritable:
        return std::string(describe(FileOutcome::NotWritable));
    case WriteStatus::InUse:
        return std::string(describe(FileOutcome::InUse));
    default:
        return std::string(describe(FileOutcome::WriteFailed));
    }
}

fs::path withoutTrailingSeparator(fs::path path) {
    while (!path.has_filename() && path.has_relative_path())
        path = path.parent_path();
    return path;
}

fs::path absoluteNormal(const fs::path& path) {
    std::error_code error;
    return withoutTrailingSeparator(fs::absolute(path, error).lexically_normal());
}

fs::path canonicalAsFarAsItExists(const fs::path& path) {
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(absoluteNormal(path), error);
    return error ? absoluteNormal(path) : withoutTrailingSeparator(canonical);
}

fs::path commonFolder(const fs::path& a, const fs::path& b) {
    fs::path common;
    for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end() && *i == *j; ++i, ++j)
        common /= *i;
    return common;
}

// Widens root to hold every folder that resolving entry from folder passes through.
void widenForWalk(fs::path& root, fs::path folder, std::string_view entry) {
    root = commonFolder(root, folder);
    std::size_t start = 0;
    for (std::size_t slash; (slash = entry.find_first_of("\\/", start)) != std::string_view::npos;
         start = slash + 1) {
        const std::string_view component = entry.substr(start, slash - start);
        if (component == "..")
            folder = folder.parent_path();
        else if (!component.empty() && component != ".")
            folder /= std::string(component);
        root = commonFolder(root, folder);
    }
}

// Whether inner is outer or lies below it, component by component.
bool isWithin(const fs::path& inner, const fs::path& outer) {
    auto i = inner.begin();
    bool lexically = true;
    for (auto j = outer.begin(); lexically && j != outer.end(); ++j, ++i)
        lexically = i != inner.end() && *i == *j;
    if (lexically)
        return true;
    // Names alone do not settle it where the file system ignores letter case
    // (C:\Proj\out lies in c:\proj): ask it whether a folder on the way up is
    // the outer folder.
    std::error_code error;
    for (fs::path folder = inner; folder.has_relative_path(); folder = folder.parent_path())
        if (fs::equivalent(folder, outer, error))
            return true;
    return false;
}

} // namespace

std::optional<CopyPlan> planReleaseCopy(const fs::path& topFile,
                                        const std::vector<ProjectToCopy>& projects,
                                        const std::vector<fs::path>& alongside,
                                        std::string& error) {
    CopyPlan plan;
    const ProjectFolder projectFolder(topFile);
    std::set<fs::path> planned;
    // Each file once, placed against the project's folder as it is found.
    const auto add = [&](const fs::path& file, const std::string& namedBy,
                         const std::string& name) {
        const fs::path normal = absoluteNormal(file);
        const bool added = planned.insert(normal).second;
        if (!added)
            return false;
        plan.files.push_back(normal);
        if (plan.files.size() > 1) {
            // One not there is not copied: the copy says so.
            const auto found = projectFolder.place(normal);
            if (found && found->place != ProjectFolder::Place::Inside)
                plan.outside.push_back(
                    {namedBy, name, found->real, found->place == ProjectFolder::Place::LinkOut});
        }
        return true;
    };
    // Every name and the folder it is resolved from, for the layout.
    std::vector<std::pair<fs::path, std::string>> walks;
    // A companion may have any name, so the file's own designer block is asked.
    const auto addNamedCompanions = [&](const std::string& entry, const fs::path& file) {
        std::string text;
        if (readRegularFile(file, text) != ReadStatus::Ok)
            return; // the copy reports it
        const fs::path folder = absoluteNormal(file).parent_path();
        for (const std::string& companion : namedCompanions(text)) {
            // A full path reaches the same file from the copy; it is named,
            // and nothing is taken along.
            if (namesFullPath(companion)) {
                plan.fullPathCompanions.push_back({entry, companion});
                continue;
            }
            walks.emplace_back(folder, companion);
            if (const auto found = resolveEntryPath(companion, folder))
                add(*found, entry, companion);
            else
                plan.missingCompanions.push_back({entry, companion});
        }
    };
    // A folder of modules is no file to copy; its files are.
    const bool topIsFolder = projectShapeOf(topFile) == ProjectShape::ModuleFolder;
    if (!topIsFolder)
        add(topFile, {}, {});
    const std::string topName = bytesFromPath(topFile.filename());
    for (const ProjectToCopy& project : projects) {
        if (!topIsFolder)
            add(project.file, topName, project.nameInGroup);
        if (namesFullPath(project.nameInGroup)) {
            error = topFile.string() + " names " + project.nameInGroup +
                    " by a full path; a copy would still use that project, so no copy is made";
            return std::nullopt;
        }
        if (!project.nameInGroup.empty())
            walks.emplace_back(absoluteNormal(topFile).parent_path(), project.nameInGroup);
        const fs::path folder = holdingFolder(absoluteNormal(project.file));
        const std::string projectName = project.nameInGroup.empty() ? topName : project.nameInGroup;
        for (const std::string& entry : project.files ? *project.files : namedFiles(project.text)) {
            if (namesFullPath(entry)) {
                error = project.file.string() + " names " + entry +
                        " by a full path; a copy would still use that file, so no copy is made";
                return std::nullopt;
            }
            walks.emplace_back(folder, entry);
            const auto found = resolveEntryPath(entry, folder);
            const bool added = found && add(*found, projectName, entry);
            if (!found)
                plan.missing.push_back(entry);
            if (const auto companion = sameNamedCompanion(entry))
                if (const auto companionFound = resolveEntryPath(*companion, folder))
                    add(*companionFound, projectName, *companion);
            if (added && hasDesignerBlock(entry))
                addNamedCompanions(entry, *found);
        }
    }
    for (const fs::path& file : alongside) {
        std::error_code absent;
        if (fs::exists(fs::status(file, absent)))
            add(file, {}, bytesFromPath(file.filename()));
    }
    plan.root = holdingFolder(absoluteNormal(topFile));
    for (const fs::path& file : plan.files)
        plan.root = commonFolder(plan.root, file.parent_path());
    for (const auto& [folder, name] : walks)
        widenForWalk(plan.root, folder, name);
    return plan;
}

std::optional<std::string> outputFolderProblem(const fs::path& output,
                                               const std::vector<fs::path>& sourceFolders) {
    const fs::path out = canonicalAsFarAsItExists(output);
    for (const fs::path& folder : sourceFolders)
        if (isWithin(out, canonicalAsFarAsItExists(folder)))
            return "the output folder " + output.string() + " is inside the project's folder " +
                   folder.string();
    std::error_code error;
    const fs::file_status status = fs::status(out, error);
    if (!fs::exists(status))
        return std::nullopt;
    if (!fs::is_directory(status))
        return "the output folder " + output.string() + " is not a folder";
    if (!fs::is_empty(out, error) || error)
        return "the output folder " + output.string() + " is not empty";
    return std::nullopt;
}

fs::path placeInCopy(const CopyPlan& plan, const fs::path& output, const fs::path& source) {
    const fs::path relative = absoluteNormal(source).lexically_relative(plan.root);
    // A folder of modules that is the root is the output folder itself.
    if (relative == ".")
        return output;
    return output / relative;
}

namespace {

// Makes folder and the folders above it that are missing, adding each to made
// (outermost first); why not, when it cannot.
std::optional<std::string> makeFolders(const fs::path& folder, std::vector<fs::path>& made) {
    std::vector<fs::path> missing;
    std::error_code error;
    for (fs::path at = folder; at.has_relative_path() && !fs::exists(fs::symlink_status(at, error));
         at = at.parent_path())
        missing.push_back(at);
    for (auto at = missing.rbegin(); at != missing.rend(); ++at) {
        if (fs::create_directory(*at, error))
            made.push_back(*at);
        else if (error)
            return "cannot make the folder " + bytesFromPath(*at) + ": " + error.message();
    }
    return std::nullopt;
}

// Removes what a failed copy made, newest first, so that each folder is empty
// when its turn comes; what could not be removed.
std::vector<fs::path> removeMade(const std::vector<fs::path>& made) {
    std::vector<fs::path> left;
    for (auto at = made.rbegin(); at != made.rend(); ++at) {
        std::error_code error;
        if (!fs::remove(*at, error) && error)
            left.push_back(*at);
    }
    return left;
}

// Writes a new file of the copy with the bits of its source. The file is
// made empty and given those bits (and the owner's write) before the bytes
// go in, so a 0600 file is never readable by others on the way; the safe
// replace keeps the bits, and the owner's write goes last if the source
// has none.
WriteStatus writeWithBits(const fs::path& target, std::string_view bytes,
                          std::optional<fs::perms> bits) {
    if (!bits)
        return createOrReplaceFile(target, bytes);
    if (const WriteStatus made = createOrReplaceFile(target, {}); made != WriteStatus::Ok)
        return made;
    std::error_code error;
    fs::permissions(target, *bits | fs::perms::owner_write, error);
    if (error)
        return WriteStatus::WriteFailed;
    if (const WriteStatus written = replaceFileContents(target, bytes); written != WriteStatus::Ok)
        return written;
    if ((*bits & fs::perms::owner_write) == fs::perms::none)
        fs::permissions(target, *bits, error);
    return error ? WriteStatus::WriteFailed : WriteStatus::Ok;
}

} // namespace

std::vector<std::string> copyFiles(const CopyPlan& plan, const fs::path& output) {
    std::vector<fs::path> made;
    std::optional<std::string> failure;
    std::string bytes;
    for (const fs::path& file : plan.files) {
        const fs::path target = placeInCopy(plan, output, file);
        if (const ReadStatus read = readRegularFile(file, bytes); read != ReadStatus::Ok) {
            failure = "cannot read " + bytesFromPath(file) + ": " + causeOf(read);
            break;
        }
        if ((failure = makeFolders(target.parent_path(), made)))
            break;
        std::error_code error;
        const fs::perms bits = fs::status(file, error).permissions() & fs::perms::all;
        const WriteStatus written =
            writeWithBits(target, bytes, error ? std::nullopt : std::optional(bits));
        if (written == WriteStatus::Ok || fs::exists(fs::symlink_status(target, error)))
            made.push_back(target);
        if (written != WriteStatus::Ok) {
            failure = "cannot write " + bytesFromPath(target) + ": " + causeOf(written);
            break;
        }
    }
    if (!failure)
        return {};
    // Half a copy would pass for the project; none is what the user can trust.
    std::vector<std::string> messages = {*failure};
    const std::vector<fs::path> left = removeMade(made);
    if (left.empty() && !made.empty())
        messages.push_back("the partial copy in " + bytesFromPath(output) + " was removed");
    for (const fs::path& path : left)
        messages.push_back(bytesFromPath(path) + " could not be removed and is left");
    return messages;
}

} // namespace faultward

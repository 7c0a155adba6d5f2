#include "project/release_copy.h"

#include "platform/entry_path.h"
#include "platform/source_file.h"
#include "platform/windows_names.h"
#include "project/project_reader.h"

#include <array>
#include <set>
#include <utility>

namespace fs = std::filesystem;

namespace faultward {
namespace {

// The binary file beside a designer file that holds its pictures and the like.
constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kCompanions = {{
    {".frm", ".frx"},
    {".ctl", ".ctx"},
    {".pag", ".pgx"},
    {".dob", ".dox"},
    {".dsr", ".dsx"},
}};

bool namesFullPath(std::string_view entry) {
    return entry.starts_with('\\') || entry.starts_with('/') ||
           (entry.size() >= 2 && entry[1] == ':');
}

// The entry of a file's companion, if its kind has one.
std::optional<std::string> companionOf(std::string_view entry) {
    const std::size_t dot = entry.rfind('.');
    if (dot == std::string_view::npos || entry.find_first_of("\\/", dot) != std::string_view::npos)
        return std::nullopt;
    for (const auto& [source, companion] : kCompanions)
        if (equalIgnoringAsciiCase(entry.substr(dot), source))
            return std::string(entry.substr(0, dot)) + std::string(companion);
    return std::nullopt;
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
                                        std::string& error) {
    CopyPlan plan;
    std::set<fs::path> planned;
    const auto add = [&](const fs::path& file) {
        const fs::path normal = absoluteNormal(file);
        if (planned.insert(normal).second)
            plan.files.push_back(normal);
    };
    // Every name and the folder it is resolved from, for the layout.
    std::vector<std::pair<fs::path, std::string>> walks;
    add(topFile);
    for (const ProjectToCopy& project : projects) {
        add(project.file);
        if (namesFullPath(project.nameInGroup)) {
            error = topFile.string() + " names " + project.nameInGroup +
                    " by a full path; a copy would still use that project, so no copy is made";
            return std::nullopt;
        }
        if (!project.nameInGroup.empty())
            walks.emplace_back(absoluteNormal(topFile).parent_path(), project.nameInGroup);
        const fs::path folder = absoluteNormal(project.file).parent_path();
        for (const std::string& entry : namedFiles(project.text)) {
            if (namesFullPath(entry)) {
                error = project.file.string() + " names " + entry +
                        " by a full path; a copy would still use that file, so no copy is made";
                return std::nullopt;
            }
            walks.emplace_back(folder, entry);
            if (const auto found = resolveEntryPath(entry, folder))
                add(*found);
            else
                plan.missing.push_back(entry);
            if (const auto companion = companionOf(entry))
                if (const auto found = resolveEntryPath(*companion, folder))
                    add(*found);
        }
    }
    plan.root = plan.files.front().parent_path();
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
    return output / absoluteNormal(source).lexically_relative(plan.root);
}

std::vector<std::string> copyFiles(const CopyPlan& plan, const fs::path& output) {
    std::vector<std::string> failures;
    std::string bytes;
    for (const fs::path& file : plan.files) {
        const fs::path target = placeInCopy(plan, output, file);
        const std::string name = file.lexically_relative(plan.root).generic_string();
        std::error_code error;
        fs::create_directories(target.parent_path(), error);
        if (readRegularFile(file, bytes) != ReadStatus::Ok)
            failures.push_back(name + ": cannot be read");
        else if (error || createOrReplaceFile(target, bytes) != WriteStatus::Ok)
            failures.push_back(name + ": cannot be written to " + target.string());
    }
    return failures;
}

} // namespace faultward

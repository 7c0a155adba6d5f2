#include "project_tree.h"

#include "child_process.h"
#include "support/vb_project_generator.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace faultward::reliability {
namespace {

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace

EntryState entryState(const fs::path& path, bool withBytes) {
    EntryState state;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return state;
    state.type = info.st_mode & S_IFMT;
    state.inode = info.st_ino;
    state.modified = info.st_mtim;
    state.changed = info.st_ctim;
    if (S_ISREG(info.st_mode) && withBytes)
        state.bytes = readWhole(path);
    else if (S_ISLNK(info.st_mode))
        state.bytes = fs::read_symlink(path).string();
    return state;
}

TreeSnapshot snapshotTree(const fs::path& root) {
    TreeSnapshot tree;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        tree.emplace(entry.path().lexically_relative(root).string(), entryState(entry.path()));
    return tree;
}

bool sameEntry(const EntryState& a, const EntryState& b, bool strict) {
    if (a.type != b.type || a.bytes != b.bytes)
        return false;
    if (!strict || a.type == S_IFDIR)
        return true;
    return a.inode == b.inode && sameTime(a.modified, b.modified) && sameTime(a.changed, b.changed);
}

std::vector<std::string> differences(const TreeSnapshot& before, const TreeSnapshot& after,
                                     bool strict) {
    std::vector<std::string> paths;
    for (const auto& [path, state] : before) {
        const auto found = after.find(path);
        if (found == after.end() || !sameEntry(state, found->second, strict))
            paths.push_back(path);
    }
    for (const auto& [path, state] : after)
        if (!before.count(path))
            paths.push_back(path);
    return paths;
}

std::vector<std::string> temporariesIn(const TreeSnapshot& tree) {
    std::vector<std::string> found;
    for (const auto& [path, state] : tree) {
        const std::string name = fs::path(path).filename().string();
        if (name.find(".faultward-") != std::string::npos && name.ends_with(".tmp"))
            found.push_back(path);
    }
    return found;
}

void writeFile(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

fs::path generateProject(const fs::path& folder, int files, int lines, int seed) {
    return testing::generateVbProject(folder, {files, lines, static_cast<std::uint64_t>(seed)});
}

void giveTreeToChildUser(const fs::path& root) {
    const uid_t user = unprivilegedUser();
    const gid_t group = unprivilegedGroup();
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    if (::lchown(root.c_str(), user, group) != 0)
        throw std::runtime_error("cannot hand the folder over");
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (::lchown(entry.path().c_str(), user, group) != 0)
            throw std::runtime_error("cannot hand " + entry.path().string() + " over");
}

} // namespace faultward::reliability

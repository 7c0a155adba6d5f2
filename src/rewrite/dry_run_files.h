#pragma once

#include "platform/source_file.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// What the passes of a dry run would have written, kept in memory instead of
// on disk: a later pass of the same command reads a file's contents from here,
// as it would have read what the earlier pass wrote, and the caller compares
// each file's contents before and after.
class DryRunFiles {
public:
    struct File {
        int firstIndex = 0; // list index of the entry that changed it first
        std::string entry;
        std::filesystem::path path;
        std::string before;
        std::string after;
    };

    // The contents an earlier pass would have left in the file, or nullptr.
    const std::string* contents(const FileIdentity& identity) const;

    // Records new contents; before counts only the first time a file changes.
    void keep(const FileIdentity& identity, int index, std::string_view entry,
              const std::filesystem::path& path, std::string_view before, std::string after);

    // Every file that would change, in the list order of the entries that
    // changed them first.
    std::vector<const File*> files() const;

    // An entry whose file has more lines than handlers go into, by list index.
    void overLineLimit(int index, std::string_view entry) { overLimit_[index] = entry; }
    const std::map<int, std::string>& overLimit() const { return overLimit_; }

private:
    std::map<FileIdentity, File> files_;
    std::map<int, std::string> overLimit_;
};

} // namespace faultward

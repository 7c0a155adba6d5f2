#pragma once

#include "platform/source_file.h"
#include "rewrite/line_diff.h"

#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// A file a dry run would change, as a dry run that keeps no contents hands it
// on.
struct DryRunChange {
    int index = 0; // list index of the entry that changed it
    std::string_view entry;
    const std::filesystem::path& path;
    LineChanges lines;
    std::string_view hunks; // the unified diff's hunks, when they were asked for
};

// A file a selected entry names, as a pass found it before reading any.
struct NamedFile {
    int index = 0;
    std::filesystem::path path;
};

// Hears of a dry run's files in list order, on the thread that runs the pass.
class DryRunListener {
public:
    virtual ~DryRunListener() = default;
    // Before the first file: the files the selected entries name, in list
    // order; every file that may change is among them.
    virtual void filesNamed(std::span<const NamedFile> /*files*/) {}
    virtual void fileWouldChange(const DryRunChange& change) = 0;
};

// What the passes of a dry run would have written, kept in memory instead of
// on disk: a later pass of the same command reads a file's contents from here,
// as it would have read what the earlier pass wrote, and the caller compares
// each file's contents before and after. Or, given a listener, nothing of
// the files at all: each file's changes are worked out where the pass works
// on it and handed on in list order, so that a report can be printed as the
// files come.
class DryRunFiles {
public:
    struct File {
        int firstIndex = 0; // list index of the entry that changed it first
        std::string entry;
        std::filesystem::path path;
        std::string before;
        std::string after;
    };

    DryRunFiles() = default;
    // With diff, the changes come with their hunks.
    DryRunFiles(DryRunListener& listener, bool diff) : listener_(&listener), diff_(diff) {}

    // The listener the changes go to; nullptr when the contents are kept.
    DryRunListener* listener() const { return listener_; }
    bool wantsHunks() const { return diff_; }

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

    // Hands the files kept to the listener of another dry run, as one pass
    // over them would have.
    void handOn(DryRunFiles& listening) const;

private:
    DryRunListener* listener_ = nullptr;
    bool diff_ = false;
    std::map<FileIdentity, File> files_;
    std::map<int, std::string> overLimit_;
};

} // namespace faultward

#pragma once

#include "platform/source_file.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace faultward {

// Sources that a pass reads and writes in memory instead of in files of
// their own: the modules of an Office document. Each is named by its entry
// ("Module1.bas"); whoever holds them writes the document once, after the
// passes, from what changed. Safe to use from several workers at a time.
class HeldSources {
public:
    // container: the document, which the entries are shown to be in.
    explicit HeldSources(std::filesystem::path container) : container_(std::move(container)) {}

    void add(std::string entry, std::string source);
    const std::filesystem::path& container() const { return container_; }
    // Where the entry's source is shown to be: "Book.xlsm/Module1.bas".
    std::filesystem::path pathOf(std::string_view entry) const;
    bool holds(std::string_view entry) const;

    // The entry's source as the passes last left it, with an identity of
    // its own for a dry run's records; NotFound for an entry it does not hold.
    ReadStatus read(std::string_view entry, std::string& content, FileIdentity& identity) const;
    void write(std::string_view entry, std::span<const std::string_view> pieces);

    // The sources whose bytes differ from those added, by entry.
    std::map<std::string, std::string> changed() const;

private:
    struct Source {
        std::uint64_t number = 0;
        std::string original;
        std::string current;
    };
    std::filesystem::path container_;
    std::map<std::string, Source, std::less<>> sources_;
    mutable std::mutex mutex_;
};

// Where a pass finds the sources its entries name: files, relative entries
// found from a folder; or the sources held in memory, when held is set.
struct PassSources {
    // Implicit: most passes work on files.
    PassSources(std::filesystem::path baseFolder) : folder(std::move(baseFolder)) {}
    PassSources(std::filesystem::path baseFolder, HeldSources& sources)
        : folder(std::move(baseFolder)), held(&sources) {}

    std::filesystem::path folder;
    HeldSources* held = nullptr;
};

} // namespace faultward

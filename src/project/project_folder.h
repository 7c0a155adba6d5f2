#pragma once

#include <filesystem>
#include <optional>

namespace faultward {

// The folder that holds a project or a group: the folder of its .vbp or
// .vbg (or document), or the folder of modules itself, links followed. A project from someone else
// may name files anywhere
// (..\Shared\Util.bas, /home/ann/.ssh/id_rsa), or be a link to one; what lies
// outside this folder the user must agree to before it is written or copied.
class ProjectFolder {
public:
    explicit ProjectFolder(const std::filesystem::path& topFile);

    enum class Place {
        Inside,
        Outside, // named by a path that leads out of the folder
        LinkOut, // named inside the folder, but a link on the way leads out
    };
    struct Found {
        Place place = Place::Inside;
        std::filesystem::path real; // where the file is, links followed
    };

    // Where a file lies; nothing when there is no file there to read or
    // write (none, a dangling link, a loop of links).
    std::optional<Found> place(const std::filesystem::path& file) const;

    const std::filesystem::path& real() const { return real_; }

private:
    std::filesystem::path given_; // absolute, as the top file's path reaches it
    std::filesystem::path real_;
};

// Whether inner is outer or lies below it, compared component by component.
bool isWithinFolder(const std::filesystem::path& inner, const std::filesystem::path& outer);

} // namespace faultward

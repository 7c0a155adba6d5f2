#include "project/project_folder.h"

#include "platform/real_path.h"
#include "project/project_shape.h"

namespace fs = std::filesystem;

namespace faultward {
namespace {

fs::path absoluteNormal(const fs::path& path) {
    std::error_code error;
    fs::path normal = fs::absolute(path, error).lexically_normal();
    while (!normal.has_filename() && normal.has_relative_path())
        normal = normal.parent_path();
    return normal;
}

} // namespace

bool isWithinFolder(const fs::path& inner, const fs::path& outer) {
    auto i = inner.begin();
    for (auto j = outer.begin(); j != outer.end(); ++i, ++j) {
        // A trailing separator gives an empty last component.
        if (j->empty() && std::next(j) == outer.end())
            return true;
        if (i == inner.end() || *i != *j)
            return false;
    }
    return true;
}

ProjectFolder::ProjectFolder(const fs::path& topFile)
    : given_(holdingFolder(absoluteNormal(topFile))), real_(realPath(given_).value_or(given_)) {}

std::optional<ProjectFolder::Found> ProjectFolder::place(const fs::path& file) const {
    const fs::path named = absoluteNormal(file);
    const std::optional<fs::path> real = realPath(named);
    if (!real)
        return std::nullopt;
    if (isWithinFolder(*real, real_))
        return Found{Place::Inside, *real};
    const bool namedInside = isWithinFolder(named, given_) || isWithinFolder(named, real_);
    return Found{namedInside ? Place::LinkOut : Place::Outside, *real};
}

} // namespace faultward

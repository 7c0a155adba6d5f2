#include "platform/real_path.h"

#include <cstdlib>
#include <memory>

namespace faultward {

std::optional<std::filesystem::path> realPath(const std::filesystem::path& path) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                           &std::free);
    if (!real)
        return std::nullopt;
    return std::filesystem::path(real.get());
}

} // namespace faultward

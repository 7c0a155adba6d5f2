#include "platform/folder_listing.h"

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace faultward {

ReadStatus listFolder(const std::filesystem::path& folder, FolderListing& listing) {
    listing = {};
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        switch (errno) {
        case ENOENT:
            return ReadStatus::NotFound;
        case ENOTDIR:
            return ReadStatus::NotRegularFile;
        case EACCES:
            return ReadStatus::PermissionDenied;
        default:
            return ReadStatus::NotReadable;
        }
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info {};
        const bool isFolder =
            ::fstatat(::dirfd(dir), name.c_str(), &info, 0) == 0 && S_ISDIR(info.st_mode);
        listing.items.push_back({name, isFolder});
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    return error == 0 ? ReadStatus::Ok : ReadStatus::NotReadable;
}

} // namespace faultward

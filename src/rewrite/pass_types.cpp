#include "rewrite/pass_types.h"

namespace faultward {

std::string entryInFolder(std::string_view folder, std::string_view entry) {
    const bool absolute =
        entry.starts_with('\\') || entry.starts_with('/') || (entry.size() >= 2 && entry[1] == ':');
    std::string text = absolute ? std::string() : std::string(folder);
    text += entry;
    return text;
}

bool isFailure(FileOutcome outcome) {
    switch (outcome) {
    case FileOutcome::Rewritten:
    case FileOutcome::Unchanged:
    case FileOutcome::SameFileAsBefore:
        return false;
    default:
        return true;
    }
}

std::string_view describe(FileOutcome outcome) {
    switch (outcome) {
    case FileOutcome::Rewritten:
        return "rewritten";
    case FileOutcome::Unchanged:
        return "unchanged";
    case FileOutcome::SameFileAsBefore:
        return "same file as an earlier entry";
    case FileOutcome::NotFound:
        return "not found";
    case FileOutcome::NotRegularFile:
        return "not a regular file";
    case FileOutcome::NotReadable:
        return "not readable";
    case FileOutcome::NotWritable:
        return "not writable";
    case FileOutcome::WriteFailed:
        return "write failed";
    case FileOutcome::InUse:
        return "in use by another program";
    case FileOutcome::IsFolder:
        return "is a folder";
    case FileOutcome::PermissionDenied:
        return "permission denied";
    case FileOutcome::FolderPermissionDenied:
        return "permission denied on its folder";
    case FileOutcome::NoSpace:
        return "no space left on the disk";
    case FileOutcome::TooLarge:
        return "too large";
    }
    return "unknown";
}

FileOutcome writeOutcome(WriteStatus status) {
    switch (status) {
    case WriteStatus::Ok:
        return FileOutcome::Rewritten;
    case WriteStatus::NotWritable:
        return FileOutcome::NotWritable;
    case WriteStatus::InUse:
        return FileOutcome::InUse;
    case WriteStatus::NotFound:
        return FileOutcome::NotFound;
    case WriteStatus::IsFolder:
        return FileOutcome::IsFolder;
    case WriteStatus::PermissionDenied:
        return FileOutcome::PermissionDenied;
    case WriteStatus::FolderPermissionDenied:
        return FileOutcome::FolderPermissionDenied;
    case WriteStatus::NoSpace:
        return FileOutcome::NoSpace;
    case WriteStatus::TooLarge:
        return FileOutcome::TooLarge;
    default:
        return FileOutcome::WriteFailed;
    }
}

FileOutcome readFailure(ReadStatus status) {
    switch (status) {
    case ReadStatus::NotFound:
        return FileOutcome::NotFound;
    case ReadStatus::NotRegularFile:
        return FileOutcome::NotRegularFile;
    case ReadStatus::InUse:
        return FileOutcome::InUse;
    case ReadStatus::IsFolder:
        return FileOutcome::IsFolder;
    case ReadStatus::PermissionDenied:
        return FileOutcome::PermissionDenied;
    case ReadStatus::FolderPermissionDenied:
        return FileOutcome::FolderPermissionDenied;
    case ReadStatus::TooLarge:
        return FileOutcome::TooLarge;
    default:
        return FileOutcome::NotReadable;
    }
}

} // namespace faultward

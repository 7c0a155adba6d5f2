#include "app/texts/texts.h"

#include "platform/path_bytes.h"
#include "rewrite/pass_types.h"
#include "rewrite/transforms.h"

#include <vector>

namespace faultward {

std::string aboutCaption() {
    return "About " + std::string(kProductName);
}

std::string versionText(int major, int minor, int revision) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

namespace {

bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Where the characters of UTF-8 text start.
std::vector<std::size_t> characterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!continuesCharacter(text[i]))
            starts.push_back(i);
    return starts;
}

} // namespace

std::string shortenedInTheMiddle(std::string_view text, std::size_t maxCharacters) {
    constexpr std::string_view kEllipsis = "...";
    const std::vector<std::size_t> starts = characterStarts(text);
    if (starts.size() <= maxCharacters || maxCharacters <= kEllipsis.size())
        return std::string(text);
    const std::size_t kept = maxCharacters - kEllipsis.size();
    const std::size_t head = kept - kept / 2;
    const std::size_t tail = kept / 2;
    std::string shortened(text.substr(0, starts[head]));
    shortened += kEllipsis;
    shortened += text.substr(starts[starts.size() - tail]);
    return shortened;
}

std::string lineLimitMessage(std::string_view entryText) {
    std::string message = "The file ";
    message.append(entryText);
    message.append(" has exceeded ");
    message.append(std::to_string(kInsertionLineLimit));
    message.append(" lines of code!  Error handling cannot be inserted for the rest of this "
                   "file.  Please reduce the number lines in this file and try again.");
    return message;
}

std::string leftoverMessage(const Leftover& leftover) {
    const std::string file = pathDisplayText(bytesFromPath(leftover.file));
    const std::string kept = pathDisplayText(bytesFromPath(leftover.leftover));
    switch (leftover.kind) {
    case LeftoverKind::PutBack:
        return "The file " + file +
               " was left half written by an interrupted run; its old contents have been put "
               "back.";
    case LeftoverKind::NotPutBack:
        return "The file " + file +
               " was left half written by an interrupted run, and its old contents could not be "
               "put back; they are kept in " +
               kept + ".";
    case LeftoverKind::WillBePutBack:
        return "The file " + file +
               " was left half written by an interrupted run; the next command that writes files "
               "will put its old contents back from " +
               kept + ".";
    case LeftoverKind::ChangedSince:
        return "The file " + file +
               " was changed after an interrupted run had begun to write it, so it was left as it "
               "is; its old contents are kept in " +
               kept + ".";
    case LeftoverKind::FileGone:
        return "The file " + file +
               " is gone since an interrupted run wrote it; its old contents "
               "are kept in " +
               kept + ", and no file was made from them.";
    case LeftoverKind::Stray:
        break;
    }
    if (leftover.copy)
        return kept + " looks like a copy of old contents that Faultward keeps while it writes " +
               file + ", but no interrupted run of yours left it; it was left untouched.";
    return kept +
           " looks like a temporary file of Faultward's, but no interrupted run of yours left it; "
           "it was left untouched.";
}

std::string describeProjectFailure(ProjectReadStatus status, const std::string& path) {
    switch (status) {
    case ProjectReadStatus::Ok:
        return {};
    case ProjectReadStatus::NotFound:
        return "The project file " + path + " does not exist.";
    case ProjectReadStatus::NotRegularFile:
        return "The project file " + path + " is not a file (it is a folder or a device).";
    case ProjectReadStatus::NotReadable:
        return "The project file " + path + " cannot be read.";
    case ProjectReadStatus::InUse:
        return "The project file " + path + " is in use by another program.";
    case ProjectReadStatus::TooLarge:
        return "The file " + path + " is larger than 16 MiB, too large to be a project file.";
    case ProjectReadStatus::NotText:
        return "The file " + path + " holds binary data; it is not a project file.";
    }
    return {};
}

std::string describeFolderFailure(ReadStatus status, const std::string& path) {
    switch (status) {
    case ReadStatus::Ok:
        return {};
    case ReadStatus::NotFound:
        return "The folder " + path + " does not exist.";
    case ReadStatus::PermissionDenied:
    case ReadStatus::FolderPermissionDenied:
        return "The folder " + path + " cannot be read: permission denied.";
    default:
        return "The folder " + path + " cannot be read.";
    }
}

std::string unnamableModuleMessage(std::string_view folder, std::string_view name) {
    return "The file " + std::string(name) + " in " + std::string(folder) +
           " is left out: its name has characters outside this system's code page, which a "
           "module's file name cannot hold. Rename it to work on it.";
}

std::string describeDocumentFailure(std::string_view shown, ReadStatus status,
                                    std::string_view refusal) {
    const std::string name(shown);
    switch (status) {
    case ReadStatus::Ok:
        return "The document " + name + " cannot be worked on: " + std::string(refusal) + ".";
    case ReadStatus::NotFound:
        return "The document " + name + " does not exist.";
    case ReadStatus::NotRegularFile:
    case ReadStatus::IsFolder:
        return "The document " + name + " is not a file (it is a folder or a device).";
    case ReadStatus::InUse:
        return "The document " + name + " is in use by another program.";
    case ReadStatus::TooLarge:
        return "The document " + name + " is too large to read.";
    default:
        return "The document " + name + " cannot be read.";
    }
}

std::string documentNotWrittenMessage(std::string_view shown, const DocumentSave& saved) {
    const std::string cause =
        saved.refusal ? *saved.refusal : std::string(describe(writeOutcome(saved.writeStatus)));
    return "The document " + std::string(shown) + " was not written: " + cause +
           ". It is as it was.";
}

std::string dropSignatureQuestion(std::string_view shown, std::string_view refusal) {
    std::string text = "In " + std::string(shown) + ", " + std::string(refusal) +
                       ".\n\nWrite it without its signature? No changes nothing.";
    return text;
}

std::string signatureDroppedMessage(std::string_view shown,
                                    const std::vector<std::string>& signatures) {
    std::string names;
    for (const std::string& signature : signatures)
        names += (names.empty() ? "" : ", ") + signature;
    return "The signature of the VBA project in " + std::string(shown) + " was removed: " + names +
           ".";
}

std::string undecodablePathMessage(std::string_view path) {
    return "The path " + std::string(path) +
           " cannot be opened: its name is not in this system's encoding. Choose the project "
           "through a folder whose name shows correctly, or rename the folder.";
}

std::string storedSettingMessage(std::string_view file, std::string_view warning) {
    return std::string(file) + " " + std::string(warning);
}

std::string settingsNotSavedMessage(std::string_view file, std::string_view cause) {
    return "The settings could not be saved in " + std::string(file) + ": " + std::string(cause) +
           ".";
}

std::string choiceText(std::string_view caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        // "&&" stands for the character itself.
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        text += caption[i];
    }
    return text;
}

std::string handlerKeysUnusedMessage(std::string_view file, const std::vector<std::string>& keys,
                                     std::string_view groupSettingsFile) {
    std::string text = std::string(file) + " [Handler]";
    for (std::size_t i = 0; i < keys.size(); ++i)
        text += (i == 0 ? " " : ", ") + keys[i];
    return text + ": not used, as a group runs with its own settings; keep them in " +
           std::string(groupSettingsFile) + ", or work on the project alone";
}

std::string settingsTooLargeCause(std::uint64_t size, std::uint64_t limit) {
    const auto megabytes = [](std::uint64_t bytes) {
        return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
    };
    return "it holds " + megabytes(size) + ", over the " + megabytes(limit) +
           " a project's settings file may hold";
}

std::string settingsLockedCause(std::chrono::milliseconds waited) {
    return "another Faultward kept it locked for " +
           std::to_string(std::chrono::duration_cast<std::chrono::seconds>(waited).count()) +
           " seconds";
}

} // namespace faultward

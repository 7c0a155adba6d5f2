#include "app/commands/outside_files.h"

#include "app/commands/sha256.h"
#include "app/texts/texts.h"
#include "platform/display_text.h"
#include "platform/entry_path.h"
#include "platform/path_bytes.h"
#include "platform/source_file.h"
#include "project/group_reader.h"
#include "project/project_reader.h"

namespace fs = std::filesystem;

namespace faultward {

std::vector<OutsideFile> outsideEntries(const ProjectFolder& folder,
                                        std::span<const ListEntry> entries,
                                        const fs::path& baseFolder) {
    std::vector<OutsideFile> outside;
    for (const ListEntry& entry : entries) {
        if (!entry.selected)
            continue;
        const std::optional<fs::path> file = resolveEntryPath(entry.text, baseFolder);
        // Without a file there, nothing is written.
        const auto found = file ? folder.place(*file) : std::nullopt;
        if (found && found->place != ProjectFolder::Place::Inside)
            outside.push_back(
                {entry.text, found->real, found->place == ProjectFolder::Place::LinkOut, {}});
    }
    return outside;
}

std::optional<OutsideFile> outsideTemplate(const ProjectFolder& folder,
                                           const std::string& templatePath,
                                           const std::string& asWritten,
                                           const std::string& settingsFile) {
    // One not there is not read; reading it says what is wrong.
    const auto found =
        templatePath.empty() ? std::nullopt : folder.place(pathFromBytes(templatePath));
    if (!found || found->place == ProjectFolder::Place::Inside)
        return std::nullopt;
    return OutsideFile{asWritten, found->real, found->place == ProjectFolder::Place::LinkOut,
                       settingsFile};
}

std::string outsideFileText(const OutsideFile& file, bool forWindow) {
    const std::string name = forWindow ? entryDisplayText(file.name) : file.name;
    const std::string real =
        forWindow ? pathDisplayText(bytesFromPath(file.real)) : bytesFromPath(file.real);
    const std::string named =
        file.namedBy.empty() ? name : "the template " + name + " that " + file.namedBy + " names";
    if (!file.link && file.name == bytesFromPath(file.real))
        return named;
    return named + (file.link ? ", a link to " : ", at ") + real;
}

std::string outsideFileText(const OutsideCopyFile& file) {
    return file.name + (file.namedBy.empty() ? "" : " (in " + file.namedBy + ")") +
           (file.link ? ", a link to " : ", at ") + bytesFromPath(file.real);
}

std::string outsideLead(OutsideUse use, std::string_view command, const ProjectFolder& folder) {
    const std::string where = "outside the project's folder " + bytesFromPath(folder.real());
    switch (use) {
    case OutsideUse::Refused:
        return std::string(command) + " would work on files " + where + ":";
    case OutsideUse::Allowed:
        return "--allow-outside: working on files " + where + ":";
    case OutsideUse::Named:
        return "note: files " + where + ", which a command writes only with --allow-outside:";
    case OutsideUse::CopyRefused:
        return "--output would copy files from " + where + ":";
    case OutsideUse::CopyAllowed:
        return "--allow-outside: copying files from " + where + ":";
    case OutsideUse::LinkOut:
        return "--output follows no link out of the project's folder " +
               bytesFromPath(folder.real()) + ", and these are links out:";
    }
    return {};
}

std::string outsideRefusedEnd(OutsideUse use) {
    switch (use) {
    case OutsideUse::Refused:
        return "nothing was written; --allow-outside lets the command write them";
    case OutsideUse::CopyRefused:
        return "no copy was made; --allow-outside lets the copy take them";
    case OutsideUse::LinkOut:
        return "no copy was made; put the files themselves in the project's folder";
    default:
        return {};
    }
}

namespace {

std::string_view commandCaption(PassCommand command) {
    switch (command) {
    case PassCommand::Insert:
        return "Insert Error Handling Code";
    case PassCommand::Remove:
        return "Remove Error Handling Code";
    case PassCommand::Number:
        return "Add Line Numbers";
    case PassCommand::Unnumber:
        return "Remove Line Numbers";
    }
    return {};
}

} // namespace

std::string outsideQuestion(PassCommand command, const ProjectFolder& folder,
                            std::span<const OutsideFile> files) {
    std::string text =
        std::string(commandCaption(command)) + " would " +
        (files.size() == 1 && !files.front().namedBy.empty() ? "take its handler lines from a file"
                                                             : "write files") +
        " outside the project's folder, " + pathDisplayText(bytesFromPath(folder.real())) + ":\n";
    // Whole: where each file is, is what the user is asked about.
    for (std::size_t i = 0; i < files.size() && i < kFailuresNamed; ++i) {
        text += '\n';
        text += outsideFileText(files[i], true);
    }
    if (files.size() > kFailuresNamed)
        text += "\nand " + std::to_string(files.size() - kFailuresNamed) + " more";
    text += "\n\nA project can name any file on this computer. Go ahead? No writes nothing; "
            "Yes is remembered until the project file changes.";
    return text;
}

std::string outsideReportNote(const ProjectFolder& folder, std::span<const OutsideFile> files) {
    std::string text = std::string(commandCaption(PassCommand::Insert)) +
                       " would work on files outside the project's folder, " +
                       bytesFromPath(folder.real()) + ", and asks before it does:\n";
    // In the report's own bytes, as its paths are.
    for (const OutsideFile& file : files)
        text += outsideFileText(file, false) + "\n";
    return text;
}

std::vector<fs::path> decidingFiles(const fs::path& listFile) {
    std::vector<fs::path> files = {listFile};
    std::string text;
    if (!isGroupFile(listFile) || readProjectText(listFile, text) != ProjectReadStatus::Ok)
        return files;
    for (const GroupMember& member : groupMembers(listFile, text, {}).projects)
        files.push_back(member.file);
    return files;
}

std::vector<std::string> consentKeys(std::span<const fs::path> deciding,
                                     std::span<const OutsideFile> outside) {
    Sha256 project;
    std::string bytes;
    for (const fs::path& file : deciding) {
        // Each part carries its length, so no two different sets of files
        // give the same bytes to hash.
        const bool read = readRegularFile(file, bytes) == ReadStatus::Ok;
        const std::string path = bytesFromPath(file);
        project.add(std::to_string(path.size()) + ":" + path);
        project.add(read ? std::to_string(bytes.size()) + ":" + bytes : std::string("-"));
    }
    const std::string projectKey = project.hex();
    std::vector<std::string> keys;
    for (const OutsideFile& file : outside) {
        Sha256 key;
        const std::string real = bytesFromPath(file.real);
        key.add(projectKey + ":" + std::to_string(real.size()) + ":" + real);
        keys.push_back(key.hex());
    }
    return keys;
}

} // namespace faultward

#pragma once

#include "app/commands/pass_driver.h"
#include "project/project_folder.h"
#include "project/release_copy.h"
#include "rewrite/pass_types.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// A file a command would write, or take its handler lines from, outside the
// folder that holds the project or group. Such a file is written only with
// the user's word: a project from someone else may name any file.
struct OutsideFile {
    std::string name;           // as the project names it (bytes), or a template's path as written
    std::filesystem::path real; // where it is, links followed
    bool link = false;          // named inside the folder, a link out of it
    std::string namedBy;        // a template's: the settings file that names it; empty for a source
};

// The files of the selected entries, found from baseFolder as the passes
// find them, that lie outside the folder, in list order.
std::vector<OutsideFile> outsideEntries(const ProjectFolder& folder,
                                        std::span<const ListEntry> entries,
                                        const std::filesystem::path& baseFolder);

// The template a project's own settings file names, when it is there and lies
// outside the folder. templatePath is the path to read (path bytes), asWritten
// the key's value, settingsFile the settings file as shown.
std::optional<OutsideFile> outsideTemplate(const ProjectFolder& folder,
                                           const std::string& templatePath,
                                           const std::string& asWritten,
                                           const std::string& settingsFile);

// One file, for a list: "..\Shared\Util.bas, at /home/ann/src/Shared/Util.bas",
// "Module1.bas, a link to /elsewhere/Other.bas", "the template ..\t.txt that
// App.faultward names, at /home/ann/t.txt". Names as the project holds them,
// or as UTF-8 text for a window.
std::string outsideFileText(const OutsideFile& file, bool forWindow);

// The files of a release copy outside the folder:
// "..\..\secret (in Forms\Main.frm), at /home/ann/secret".
std::string outsideFileText(const OutsideCopyFile& file);

// What the command line says before it lists such files.
enum class OutsideUse {
    Refused,     // a command would write them: nothing was written
    Allowed,     // --allow-outside: they are written
    Named,       // a dry run or check: nothing is written anyway
    CopyRefused, // --output would copy them: no copy was made
    CopyAllowed, // --output with --allow-outside copies them
    LinkOut,     // --output follows no link out, allowed or not
};
std::string outsideLead(OutsideUse use, std::string_view command, const ProjectFolder& folder);
// The line after the list, when the files stopped the command.
std::string outsideRefusedEnd(OutsideUse use);

// The desktop program's question before a command writes such files.
std::string outsideQuestion(PassCommand command, const ProjectFolder& folder,
                            std::span<const OutsideFile> files);

// What Preview Insertion and Check Project add at the end of their report
// when Insert would write such files (or take its handler lines from one):
// the same files the question before it names, so that nothing comes as a
// surprise. Bytes, as the rest of the report.
std::string outsideReportNote(const ProjectFolder& folder, std::span<const OutsideFile> files);

// The files whose bytes decide what a command writes: the project or group
// file and, for a group, each project it names.
std::vector<std::filesystem::path> decidingFiles(const std::filesystem::path& listFile);

// One key for each outside file, for the user's answer: the SHA-256 of every
// deciding file's path and bytes and of the outside file's real path, so
// that a project file changed in any byte, or a link that now leads
// elsewhere, is asked about again.
std::vector<std::string> consentKeys(std::span<const std::filesystem::path> deciding,
                                     std::span<const OutsideFile> outside);

} // namespace faultward

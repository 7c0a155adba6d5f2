#pragma once

#include "platform/run_journal.h"
#include "project/document_project.h"
#include "project/project_reader.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// The words the program shows, in one place for every front end.

// "About Faultward" and "Version 1.0.11": the build number is not shown.
std::string aboutCaption();
std::string versionText(int major, int minor, int revision);

// UTF-8 text of at most maxCharacters characters: longer text keeps its start
// and its end, joined by "...", so that both a path's folder and its file
// name stay readable.
std::string shortenedInTheMiddle(std::string_view text, std::size_t maxCharacters);

// The notice for a file with more lines than handlers go into.
std::string lineLimitMessage(std::string_view entryText);

// What is said of a temporary or a copy of old bytes found beside a file,
// and what was done with it.
std::string leftoverMessage(const Leftover& leftover);

// A message for a project file that could not be read, naming the path;
// empty for Ok.
std::string describeProjectFailure(ProjectReadStatus status, const std::string& path);

// The same for a folder of modules that could not be listed.
std::string describeFolderFailure(ReadStatus status, const std::string& path);
// A file of a folder of modules that is left out, since no entry can hold its name.
std::string unnamableModuleMessage(std::string_view folder, std::string_view name);

// An Office document that cannot be worked on: it could not be read
// (status), or the office layer refused it (refusal, its words).
std::string describeDocumentFailure(std::string_view shown, ReadStatus status,
                                    std::string_view refusal);
// A document whose modules were worked on but that could not be written; it
// is as it was.
std::string documentNotWrittenMessage(std::string_view shown, const DocumentSave& saved);
// A signed project: the question whether to write it without its signature,
// and what was left out when it was.
std::string dropSignatureQuestion(std::string_view shown, std::string_view refusal);
std::string signatureDroppedMessage(std::string_view shown,
                                    const std::vector<std::string>& signatures);

// The notice for a path the file dialog gave back that names no file because
// its name could not be decoded.
std::string undecodablePathMessage(std::string_view path);

// A stored setting that is not used as written:
// "/home/ann/.config/faultward/ERRH.ini line 4 [Handler] Files=frm,xls: xls is not ...".
std::string storedSettingMessage(std::string_view file, std::string_view warning);

// The notice for settings that could not be saved when the main window closed.
std::string settingsNotSavedMessage(std::string_view file, std::string_view cause);

// A group's project's own [Handler] keys that would change what the group's
// settings do: "App\App.faultward [Handler] Procedures=Sub,Function: not
// used, as a group runs with its own settings; keep them in All.faultward,
// or work on the project alone".
std::string handlerKeysUnusedMessage(std::string_view file, const std::vector<std::string>& keys,
                                     std::string_view groupSettingsFile);

// Why a settings file is not read, or not written, after its name.
inline constexpr std::string_view kDanglingLinkCause =
    "it is a symbolic link to a file that is not there";
inline constexpr std::string_view kUtf16SettingsCause =
    "it is UTF-16 text, which Faultward does not read; save it as ANSI or UTF-8";
inline constexpr std::string_view kLinkNotWrittenCause =
    "it is a symbolic link, and Faultward writes no settings through a link";
inline constexpr std::string_view kSettingsKeptChangingCause =
    "another program kept changing it, so nothing was written";
// "it holds 300 MB, over the 16 MB a project's settings file may hold".
std::string settingsTooLargeCause(std::uint64_t size, std::uint64_t limit);
// "another Faultward kept it locked for 30 seconds".
std::string settingsLockedCause(std::chrono::milliseconds waited);

inline constexpr std::string_view kProductName = "Faultward";
inline constexpr std::string_view kInsertingCaption = "Inserting Error Handling Code";
inline constexpr std::string_view kRemovingCaption = "Removing Error Handling Code";
inline constexpr std::string_view kNumberingCaption = "Adding Line Numbers";
inline constexpr std::string_view kUnnumberingCaption = "Removing Line Numbers";
inline constexpr std::string_view kCompletedCaption = "Faultward- Task Completed";
inline constexpr std::string_view kProjectFilesLabel = "Project Files:";
// The items of a text view's context menu.
inline constexpr std::string_view kCopyCaption = "&Copy";
inline constexpr std::string_view kSelectAllCaption = "Select &All";
// The buttons that take over line numbers left as their author's.
inline constexpr std::string_view kRenumberChoice = "&Renumber Them";
inline constexpr std::string_view kUnnumberChoice = "Re&move Them Too";
// A caption as text: without the & that marks its access key.
std::string choiceText(std::string_view caption);

// The file-open dialog's filters, "description|pattern" pairs (patterns
// separated by ";"), and the one shown first, counting from 1. The first two
// and the default are the program's since its first version, spacing and all;
// Office documents with a VBA project come last.
inline constexpr std::string_view kProjectFilter =
    "All Files (*.*)|*.*|Visual Basic Project Files(*.vbp)|*.vbp|"
    "Visual Basic Projects and Groups (*.vbp;*.vbg)|*.vbp;*.vbg|Visual Basic Group (*.vbg)|*.vbg|"
    "Office Documents with Macros "
    "(*.xlsm;*.xlsb;*.xltm;*.xlam;*.xls;*.xla;*.xlt;*.docm;*.dotm;*.doc;*.dot;*.pptm;*.potm;"
    "*.ppsm;*.ppam)|"
    "*.xlsm;*.xlsb;*.xltm;*.xlam;*.xls;*.xla;*.xlt;*.docm;*.dotm;*.doc;*.dot;*.pptm;*.potm;"
    "*.ppsm;*.ppam";
inline constexpr int kProjectFilterIndex = 2;

} // namespace faultward

#pragma once

#include "app/settings/profile_store.h"
#include "rewrite/handling_mode.h"
#include "rewrite/procedure_kind.h"
#include "rewrite/source_kind.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// Where the lines insertion writes come from.
enum class HandlerSource { Mode, Template };

// What Insert and Remove work on and write, besides the handling mode of the
// Options menu. The defaults are what the program has always done.
struct HandlerSettings {
    ProcedureKinds procedures = ProcedureKind::Sub;
    SourceKinds files = kDefaultSourceKinds;
    bool skipHandled = false;
    HandlerSource handler = HandlerSource::Mode;
    // Path bytes; kept while the mode is chosen, so the choice can return to it.
    std::string templatePath;
    // Insert numbers the procedures' lines, Remove takes the numbers out.
    bool lineNumbers = false;

    bool operator==(const HandlerSettings&) const = default;
};

// A section of its own in ERRH.ini, beside [OS]:
//   [Handler]
//   Procedures=Sub,Function,Property
//   Files=frm,bas,cls,ctl
//   SkipHandled=0|1
//   Handler=Mode|Template
//   Template=C:\Templates\Log.txt
//   LineNumbers=0|1
inline constexpr std::string_view kHandlerSection = "Handler";

// What one settings file's [Handler] section says: a value for each key it
// holds that reads as one. The line numbers' start and step, and the mode
// (Mode=0|1|2, which also means Handler=Mode unless Handler= says otherwise),
// are kept by the project's own file; ERRH.ini keeps its mode in [OS].
struct StoredHandlerSettings {
    std::optional<ProcedureKinds> procedures;
    std::optional<SourceKinds> files;
    std::optional<bool> skipHandled;
    std::optional<HandlerSource> handler;
    std::optional<std::string> templatePath;
    std::optional<bool> lineNumbers;
    std::optional<HandlingMode> mode;
    std::optional<int> start;
    std::optional<int> step;
    // One line a value that is not used as written, for a warning:
    // "Procedures=Sub,Bogus: Bogus is not Sub, Function or Property; passed over".
    std::vector<std::string> warnings;

    bool operator==(const StoredHandlerSettings&) const = default;
};

inline constexpr std::string_view kProceduresKey = "Procedures";
inline constexpr std::string_view kFilesKey = "Files";
inline constexpr std::string_view kSkipHandledKey = "SkipHandled";
inline constexpr std::string_view kHandlerKey = "Handler";
inline constexpr std::string_view kTemplateKey = "Template";
inline constexpr std::string_view kLineNumbersKey = "LineNumbers";
inline constexpr std::string_view kModeKey = "Mode";
inline constexpr std::string_view kStartKey = "Start";
inline constexpr std::string_view kStepKey = "Step";

StoredHandlerSettings readHandlerSection(ProfileStore& store);
// The stored values over the defaults.
HandlerSettings withDefaults(const StoredHandlerSettings& stored);

// Values that are missing, unknown or malformed read as their defaults; a
// list with an unknown word keeps the words it knows.
HandlerSettings loadHandlerSettings(ProfileStore& store);
// Writes each key whose value, as the store now reads, differs from the
// setting's, and leaves the others as they are written: the file then says
// exactly these settings, in the user's own words where they mean the same.
// Nothing is written for settings that are all the defaults in a file
// without the section.
void saveHandlerSettings(ProfileStore& store, const HandlerSettings& settings);
// Writes each value stored holds, in the words the section reads back.
void writeHandlerKeys(ProfileStore& store, const StoredHandlerSettings& stored);

// Every setting as a stored value, so that a file holding them all depends
// on no other.
StoredHandlerSettings storedForm(const HandlerSettings& settings, HandlingMode mode);

// Whether the store holds any key of the section.
bool hasHandlerSettings(ProfileStore& store);

// The stored forms of the kind sets: "Sub,Function", "frm,bas"; nothing for
// text with an unknown word or no kind at all.
std::string procedureKindsText(ProcedureKinds kinds);
std::string sourceKindsText(SourceKinds kinds);
std::optional<ProcedureKinds> parseProcedureKinds(std::string_view text);
std::optional<SourceKinds> parseSourceKinds(std::string_view text);

} // namespace faultward

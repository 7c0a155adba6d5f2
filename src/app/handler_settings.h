#pragma once

#include "app/profile_store.h"
#include "rewrite/procedure_kind.h"
#include "rewrite/source_kind.h"

#include <optional>
#include <string>
#include <string_view>

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

// Values that are missing, unknown or malformed read as their defaults.
HandlerSettings loadHandlerSettings(ProfileStore& store);
// Writes every key of the section.
void saveHandlerSettings(ProfileStore& store, const HandlerSettings& settings);
// Whether the store holds any key of the section.
bool hasHandlerSettings(ProfileStore& store);

// The stored forms of the kind sets: "Sub,Function", "frm,bas"; nothing for
// text with an unknown word or no kind at all.
std::string procedureKindsText(ProcedureKinds kinds);
std::string sourceKindsText(SourceKinds kinds);
std::optional<ProcedureKinds> parseProcedureKinds(std::string_view text);
std::optional<SourceKinds> parseSourceKinds(std::string_view text);

} // namespace faultward

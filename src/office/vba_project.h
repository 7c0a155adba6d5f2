#pragma once

#include <map>
#include <string>
#include <vector>

#include "office/compound_file.h"
#include "office/vba_project_stream.h"

namespace faultward::office {

// A VBA project in its storage: the root of vbaProject.bin, or the project's
// storage inside a binary document (_VBA_PROJECT_CUR, Macros). It holds the
// PROJECT stream and the VBA storage with the dir stream, _VBA_PROJECT and a
// stream per module.

struct VbaModule {
    // In the project's code page.
    std::string name;
    std::string streamName;
    ModuleKind kind = ModuleKind::Procedural;
    // Bytes in the project's code page, lines ending CR LF, the Attribute
    // lines at the top, as the module's stream holds them.
    std::string source;
};

struct VbaProject {
    std::string name;
    std::uint16_t codePage = 1252;
    // In the dir stream's order.
    std::vector<VbaModule> modules;
    ProjectProtection protection;
    // Names of the signature entries (\x05DigitalSignature...) in the storage.
    std::vector<std::u16string> signatureEntries;
};

// Whether a storage holds a VBA project (a VBA storage with a dir stream).
bool holdsVbaProject(const CompoundEntry& storage);

// Reads the project. Throws FormatError when any part of it cannot be read
// whole: a stream missing, the dir stream or a module's source damaged.
VbaProject readVbaProject(const CompoundEntry& storage);

// Gives the named modules (by name, as VbaModule::name) their new source:
// each one's stream becomes its compressed source alone and its offset in
// the dir stream 0; _VBA_PROJECT becomes the header the format defines for a
// writer, which makes Office compile afresh from the source, and the
// compiled-state streams (__SRP_*) go. A module whose source does not change
// is left alone, and with none changing nothing is. Returns how many modules
// changed. Throws FormatError for a name that is no module's. read, when
// given, is the project as read from storage, whose sources spare
// decompressing them again.
std::size_t replaceModuleSources(CompoundEntry& storage,
                                 const std::map<std::string, std::string>& sources,
                                 const VbaProject* read = nullptr);

// Whether an entry's name is a VBA signature's (\x05DigitalSignature,
// ...Ex, ...Ext).
bool isSignatureEntryName(std::u16string_view name);

// Takes the signature entries out of the storage.
void removeSignatureEntries(CompoundEntry& storage);

// _VBA_PROJECT for a writer: no version's performance cache.
inline constexpr std::string_view kVersionIndependentVbaProject{"\xCC\x61\xFF\xFF\x00\x00\x00", 7};

} // namespace faultward::office

#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace faultward::office {

// What the PROJECT stream (the project's properties, as text in its code
// page) says: the kind of each module and how the project is protected.

enum class ModuleKind { Procedural, Class, Document, Designer };

struct ProjectProtection {
    // "Lock project for viewing": the visibility state (GC) is 0.
    bool lockedForViewing = false;
    // A password is set (DPB holds more than its one byte of 0).
    bool hasPassword = false;
    // The protection state (CMG) has a bit set: the user's, the host's or the
    // editor's protection.
    std::uint32_t protectionState = 0;
};

struct ProjectStream {
    // Module name (in the code page) to the kind its line gives.
    std::map<std::string, ModuleKind> kinds;
    ProjectProtection protection;
};

// Throws FormatError when a protection value (CMG, DPB, GC) cannot be
// decrypted.
ProjectStream parseProjectStream(std::string_view text);

// The format's data encryption of those values, as hex text: the bytes it
// hides, or nothing when the text is not such data.
std::optional<std::string> decryptProjectValue(std::string_view hex);

// The reverse, for a made project: seed is any byte, projectKey the sum of
// the project ID's characters.
std::string encryptProjectValue(std::string_view data, unsigned char seed,
                                unsigned char projectKey);

} // namespace faultward::office

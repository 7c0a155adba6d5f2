#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace faultward::office {

// What the (decompressed) dir stream of a VBA project says: the code page of
// its text, its name, and for each module its name, the stream that holds
// it and where the module's compressed source begins in that stream.

struct DirModule {
    // In the project's code page, as the record holds it.
    std::string name;
    // The name in UTF-16 when the record is there (newer writers add it).
    std::u16string unicodeName;
    std::string streamName;
    std::u16string unicodeStreamName;
    // MODULETYPE: a procedural module, or one of class, document, designer.
    bool procedural = true;
    std::uint32_t textOffset = 0;
    // Where textOffset's four bytes sit in the decompressed stream.
    std::size_t textOffsetAt = 0;
};

struct DirStream {
    std::uint16_t codePage = 1252;
    std::string projectName;
    std::vector<DirModule> modules;
};

// Throws FormatError for a record cut short, a module without its stream
// name or offset, two modules of one name or sharing a stream, or a count of
// modules that does not match.
DirStream parseDirStream(std::string_view decompressed);

// The stream with the named modules' offsets set to 0, every other byte kept.
std::string withZeroOffsets(std::string_view decompressed, const DirStream& dir,
                            const std::vector<std::size_t>& moduleIndexes);

} // namespace faultward::office

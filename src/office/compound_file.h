#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace faultward::office {

// The compound file (structured storage): storages and streams in a tree,
// kept in sectors of 512 or 4096 bytes chained through a FAT, small streams
// in 64-byte sectors of a mini stream. Read whole into memory, written anew.

struct CompoundEntry {
    enum class Kind { Storage, Stream };

    std::u16string name;
    Kind kind = Kind::Stream;
    std::array<unsigned char, 16> clsid{};
    std::uint32_t stateBits = 0;
    std::uint64_t created = 0;
    std::uint64_t modified = 0;
    // A stream's bytes.
    std::string data;
    // A storage's entries, in the directory's order (the order of its sorted
    // tree); a writer keeps that order.
    std::vector<CompoundEntry> children;

    bool isStorage() const { return kind == Kind::Storage; }

    // The child of that name, compared as the format compares names (without
    // regard to letter case); null when there is none.
    CompoundEntry* child(std::u16string_view childName);
    const CompoundEntry* child(std::u16string_view childName) const;

    // The name in UTF-8, for messages.
    std::string displayName() const;
};

struct CompoundFile {
    // The root storage, "Root Entry" (its CLSID, state bits and times are the
    // file's own).
    CompoundEntry root;
    // 3: sectors of 512 bytes; 4: of 4096 bytes.
    std::uint16_t majorVersion = 3;
};

// Whether bytes begin with the compound file's signature.
bool hasCompoundFileSignature(std::string_view bytes);

// Reads every storage and stream. Throws FormatError for a file that is not a
// compound file or whose header, FAT, DIFAT, mini FAT, directory or sector
// chains are damaged: a sector out of range, a chain that loops or is shorter
// than its stream, an entry reached twice, a stream larger than the file.
CompoundFile readCompoundFile(std::string_view bytes);

// A new compound file holding the tree: the same version, every entry's name,
// CLSID, state bits, times and bytes, each storage's children in their order.
std::string writeCompoundFile(const CompoundFile& file);

// Puts entry among siblings at the place the format's order of names gives it
// (shorter names first, then without regard to letter case), for a tree that
// is made rather than read.
void insertInNameOrder(std::vector<CompoundEntry>& siblings, CompoundEntry entry);

} // namespace faultward::office

#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace faultward::office {

// A ZIP archive, the package of Office Open XML: its central directory read,
// an entry's bytes inflated, and a new archive in which some entries are
// replaced or removed and every other one is copied as it is (local header,
// compressed bytes, data descriptor, central record, order, and the bytes
// between them).

struct ZipEntry {
    std::string name;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint64_t localOffset = 0;
    std::uint64_t dataOffset = 0;
    // Where the entry's record ends: after its data, or its data descriptor.
    std::uint64_t recordEnd = 0;
    std::uint64_t centralOffset = 0;
    std::uint64_t centralSize = 0;
    // The data descriptor's length: 0 when there is none, 12 or 16 (with its
    // signature).
    std::uint32_t descriptorSize = 0;

    bool encrypted() const { return (flags & 1) != 0; }
};

struct ZipArchive {
    // In the central directory's order.
    std::vector<ZipEntry> entries;
    std::uint64_t centralStart = 0;
    std::uint64_t centralEnd = 0;
    std::uint64_t endRecord = 0;

    const ZipEntry* find(std::string_view name) const;
};

bool hasZipSignature(std::string_view bytes);

// The central directory and where each entry's record lies. Throws
// FormatError for an archive that is damaged (a record out of place, records
// that overlap, an entry named twice) or that this reader does not handle:
// ZIP64, an archive split over several disks.
ZipArchive readZipArchive(std::string_view bytes);

// An entry's bytes, stored or inflated and checked against its CRC. Throws
// FormatError for an encrypted entry, a method other than stored or deflate,
// data that does not inflate to the size and CRC the directory gives, or an
// entry over kMaxZipEntrySize.
std::string readZipEntry(std::string_view bytes, const ZipEntry& entry);

// The largest entry readZipEntry inflates: a VBA project or an XML part of
// the package's own is far smaller, and a hostile size inflates no further.
inline constexpr std::uint32_t kMaxZipEntrySize = std::uint32_t{512} << 20;

// A new archive: each entry named in changes gets the bytes given (compressed
// with the method it had, its name, times, flags and extra fields kept) or,
// given none, is left out; every other byte is copied. Throws FormatError
// when a change names no entry or an encrypted one, or the result would need
// ZIP64.
std::string rewriteZipArchive(std::string_view bytes, const ZipArchive& archive,
                              const std::map<std::string, std::optional<std::string>>& changes);

} // namespace faultward::office

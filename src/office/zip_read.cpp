#include <algorithm>
#include <set>
#include <string>

#include <zlib.h>

#include "office/byte_order.h"
#include "office/zip_layout.h"
#include "office/zip_package.h"

namespace faultward::office {
namespace {

using namespace zip;

std::string quoted(std::string_view name) {
    std::string out(1, '\'');
    out.append(name);
    out.push_back('\'');
    return out;
}

std::uint64_t findEndRecord(std::string_view bytes) {
    if (bytes.size() < kEndRecordSize) {
        throw FormatError("not a ZIP package (too short for its directory)");
    }
    const std::uint64_t last = bytes.size() - kEndRecordSize;
    const std::uint64_t first = last > 0xFFFF ? last - 0xFFFF : 0;
    for (std::uint64_t at = last + 1; at-- > first;) {
        if (readU32(bytes, at) == kEndSignature &&
            at + kEndRecordSize + readU16(bytes, at + kEndCommentLengthAt) == bytes.size()) {
            return at;
        }
    }
    throw FormatError("not a ZIP package (no end of central directory record)");
}

// A ZIP64 extra field in an entry's extra bytes.
bool hasZip64Extra(std::string_view extra) {
    std::size_t at = 0;
    while (at + 4 <= extra.size()) {
        if (readU16(extra, at) == kZip64ExtraId) {
            return true;
        }
        at += 4 + readU16(extra, at + 2);
    }
    return false;
}

void readLocalRecord(std::string_view bytes, ZipEntry& entry, std::uint64_t centralStart) {
    const std::string what = "the ZIP entry " + quoted(entry.name);
    if (entry.localOffset + kLocalHeaderSize > centralStart ||
        readU32(bytes, entry.localOffset) != kLocalSignature) {
        throw FormatError(what + " has no local header where the directory puts it");
    }
    const std::uint16_t nameLength = readU16(bytes, entry.localOffset + kLocalNameLengthAt);
    const std::uint16_t extraLength = readU16(bytes, entry.localOffset + kLocalExtraLengthAt);
    requireBytes(bytes, entry.localOffset + kLocalHeaderSize, nameLength + extraLength,
                 "a ZIP local header");
    if (bytes.substr(entry.localOffset + kLocalHeaderSize, nameLength) != entry.name) {
        throw FormatError(what + " has another name in its local header");
    }
    if (hasZip64Extra(
            bytes.substr(entry.localOffset + kLocalHeaderSize + nameLength, extraLength))) {
        throw FormatError(what + " has ZIP64 sizes, which are not handled");
    }
    entry.dataOffset = entry.localOffset + kLocalHeaderSize + nameLength + extraLength;
    std::uint64_t end = entry.dataOffset + entry.compressedSize;
    if ((entry.flags & kHasDescriptor) != 0) {
        const bool signature =
            end + 4 <= centralStart && readU32(bytes, end) == kDescriptorSignature;
        entry.descriptorSize = signature ? 16 : 12;
        end += entry.descriptorSize;
    }
    if (end > centralStart) {
        throw FormatError(what + " runs into the central directory");
    }
    entry.recordEnd = end;
}

} // namespace

const ZipEntry* ZipArchive::find(std::string_view name) const {
    for (const auto& e : entries) {
        if (e.name == name) {
            return &e;
        }
    }
    return nullptr;
}

bool hasZipSignature(std::string_view bytes) {
    return bytes.size() >= 4 && readU32(bytes, 0) == kLocalSignature;
}

ZipArchive readZipArchive(std::string_view bytes) {
    ZipArchive archive;
    archive.endRecord = findEndRecord(bytes);
    const std::uint64_t end = archive.endRecord;
    if (end >= 20 && readU32(bytes, end - 20) == kZip64LocatorSignature) {
        throw FormatError("the ZIP package is a ZIP64 archive, which is not handled");
    }
    const std::uint16_t count = readU16(bytes, end + kEndEntriesAt);
    const std::uint32_t centralSize = readU32(bytes, end + kEndCentralSizeAt);
    const std::uint32_t centralOffset = readU32(bytes, end + kEndCentralOffsetAt);
    if (count == 0xFFFF || centralSize == 0xFFFFFFFF || centralOffset == 0xFFFFFFFF) {
        throw FormatError("the ZIP package is a ZIP64 archive, which is not handled");
    }
    if (readU16(bytes, end + kEndDiskAt) != 0 || readU16(bytes, end + kEndCentralDiskAt) != 0 ||
        readU16(bytes, end + kEndDiskEntriesAt) != count) {
        throw FormatError("the ZIP package spans several disks, which is not handled");
    }
    if (static_cast<std::uint64_t>(centralOffset) + centralSize > end) {
        throw FormatError("the ZIP package's central directory lies outside the file");
    }
    archive.centralStart = centralOffset;
    archive.centralEnd = static_cast<std::uint64_t>(centralOffset) + centralSize;
    std::set<std::string> names;
    std::uint64_t at = archive.centralStart;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (at + kCentralHeaderSize > archive.centralEnd ||
            readU32(bytes, at) != kCentralSignature) {
            throw FormatError("the ZIP package's central directory is damaged at entry " +
                              std::to_string(i + 1));
        }
        ZipEntry e;
        e.flags = readU16(bytes, at + kCentralFlagsAt);
        e.method = readU16(bytes, at + kCentralMethodAt);
        e.crc = readU32(bytes, at + kCentralCrcAt);
        e.compressedSize = readU32(bytes, at + kCentralCompressedAt);
        e.size = readU32(bytes, at + kCentralSizeAt);
        const std::uint16_t nameLength = readU16(bytes, at + kCentralNameLengthAt);
        const std::uint16_t extraLength = readU16(bytes, at + kCentralExtraLengthAt);
        const std::uint16_t commentLength = readU16(bytes, at + kCentralCommentLengthAt);
        e.localOffset = readU32(bytes, at + kCentralLocalOffsetAt);
        e.centralOffset = at;
        e.centralSize = kCentralHeaderSize + nameLength + extraLength + commentLength;
        if (at + e.centralSize > archive.centralEnd) {
            throw FormatError("the ZIP package's central directory is damaged at entry " +
                              std::to_string(i + 1));
        }
        e.name = std::string(bytes.substr(at + kCentralHeaderSize, nameLength));
        if (e.compressedSize == 0xFFFFFFFF || e.size == 0xFFFFFFFF || e.localOffset == 0xFFFFFFFF ||
            readU16(bytes, at + kCentralDiskAt) != 0 ||
            hasZip64Extra(bytes.substr(at + kCentralHeaderSize + nameLength, extraLength))) {
            throw FormatError("the ZIP entry " + quoted(e.name) +
                              " has ZIP64 sizes, which are not handled");
        }
        if (!names.insert(e.name).second) {
            throw FormatError("the ZIP package holds two entries named " + quoted(e.name));
        }
        readLocalRecord(bytes, e, archive.centralStart);
        at += e.centralSize;
        archive.entries.push_back(std::move(e));
    }
    std::vector<const ZipEntry*> byPlace;
    for (const auto& e : archive.entries) {
        byPlace.push_back(&e);
    }
    std::sort(byPlace.begin(), byPlace.end(),
              [](const ZipEntry* a, const ZipEntry* b) { return a->localOffset < b->localOffset; });
    for (std::size_t i = 1; i < byPlace.size(); ++i) {
        if (byPlace[i]->localOffset < byPlace[i - 1]->recordEnd) {
            throw FormatError("the ZIP entries " + quoted(byPlace[i - 1]->name) + " and " +
                              quoted(byPlace[i]->name) + " overlap");
        }
    }
    return archive;
}

std::string readZipEntry(std::string_view bytes, const ZipEntry& entry) {
    const std::string what = "the ZIP entry " + quoted(entry.name);
    if (entry.encrypted()) {
        throw FormatError(what + " is encrypted");
    }
    if (entry.size > kMaxZipEntrySize) {
        throw FormatError(what + " is larger than the " + std::to_string(kMaxZipEntrySize >> 20) +
                          " MiB this program reads");
    }
    const std::string_view data = bytes.substr(entry.dataOffset, entry.compressedSize);
    std::string out;
    if (entry.method == kStored) {
        out = std::string(data);
    } else if (entry.method == kDeflated) {
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
            throw FormatError("zlib could not start to inflate " + what);
        }
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        z.avail_in = static_cast<uInt>(data.size());
        int status = Z_OK;
        // The output grows as it comes, never past the size the directory
        // gives: a hostile size allocates nothing.
        while (status == Z_OK) {
            const std::size_t before = out.size();
            const std::size_t room = std::min<std::size_t>(65536, entry.size + 1 - before);
            out.resize(before + room);
            z.next_out = reinterpret_cast<Bytef*>(out.data() + before);
            z.avail_out = static_cast<uInt>(room);
            status = inflate(&z, Z_NO_FLUSH);
            out.resize(before + room - z.avail_out);
            if (out.size() > entry.size) {
                break;
            }
            if (status == Z_BUF_ERROR && z.avail_in == 0) {
                break;
            }
        }
        inflateEnd(&z);
        if (status != Z_STREAM_END || out.size() != entry.size) {
            throw FormatError(what + " does not inflate to its " + std::to_string(entry.size) +
                              " bytes");
        }
    } else {
        throw FormatError(what + " is compressed with method " + std::to_string(entry.method) +
                          ", which is not handled");
    }
    if (out.size() != entry.size || crc32(0, reinterpret_cast<const Bytef*>(out.data()),
                                          static_cast<uInt>(out.size())) != entry.crc) {
        throw FormatError(what + " does not match its CRC");
    }
    return out;
}

} // namespace faultward::office

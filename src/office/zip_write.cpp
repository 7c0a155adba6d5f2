#include <algorithm>
#include <string>

#include <zlib.h>

#include "office/byte_order.h"
#include "office/zip_layout.h"
#include "office/zip_package.h"

namespace faultward::office {
namespace {

using namespace zip;

std::string deflateRaw(std::string_view data) {
    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw FormatError("zlib could not start to deflate");
    }
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (status != Z_STREAM_END) {
        throw FormatError("zlib could not deflate a part");
    }
    return out;
}

struct NewData {
    std::string compressed;
    std::uint32_t crc = 0;
    std::uint32_t size = 0;
};

NewData packed(const ZipEntry& entry, const std::string& contents) {
    if (entry.encrypted()) {
        throw FormatError("the ZIP entry '" + entry.name + "' is encrypted and cannot be replaced");
    }
    if (entry.method != kStored && entry.method != kDeflated) {
        throw FormatError("the ZIP entry '" + entry.name + "' is compressed with method " +
                          std::to_string(entry.method) + ", which is not handled");
    }
    if (contents.size() >= 0xFFFFFFFFu) {
        throw FormatError("the new '" + entry.name + "' would need ZIP64");
    }
    NewData d;
    d.compressed = entry.method == kDeflated ? deflateRaw(contents) : contents;
    d.crc = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(contents.data()),
                                             static_cast<uInt>(contents.size())));
    d.size = static_cast<std::uint32_t>(contents.size());
    return d;
}

std::uint32_t offset32(std::uint64_t offset) {
    if (offset >= 0xFFFFFFFFu) {
        throw FormatError("the new ZIP package would need ZIP64");
    }
    return static_cast<std::uint32_t>(offset);
}

} // namespace

std::string rewriteZipArchive(std::string_view bytes, const ZipArchive& archive,
                              const std::map<std::string, std::optional<std::string>>& changes) {
    std::map<std::string, NewData> replaced;
    for (const auto& [name, contents] : changes) {
        const ZipEntry* entry = archive.find(name);
        if (entry == nullptr) {
            throw FormatError("the ZIP package has no entry '" + name + "'");
        }
        if (contents) {
            replaced[name] = packed(*entry, *contents);
        }
    }
    auto removed = [&](const ZipEntry& e) {
        const auto it = changes.find(e.name);
        return it != changes.end() && !it->second;
    };

    std::vector<const ZipEntry*> byPlace;
    for (const auto& e : archive.entries) {
        byPlace.push_back(&e);
    }
    std::sort(byPlace.begin(), byPlace.end(),
              [](const ZipEntry* a, const ZipEntry* b) { return a->localOffset < b->localOffset; });

    std::string out;
    out.reserve(bytes.size());
    std::map<std::string, std::uint64_t> newOffsets;
    std::uint64_t copied = 0;
    for (const ZipEntry* e : byPlace) {
        // Whatever lies between records (nothing, in a package) stays.
        out.append(bytes.substr(copied, e->localOffset - copied));
        copied = e->recordEnd;
        if (removed(*e)) {
            continue;
        }
        newOffsets[e->name] = out.size();
        const auto it = replaced.find(e->name);
        if (it == replaced.end()) {
            out.append(bytes.substr(e->localOffset, e->recordEnd - e->localOffset));
            continue;
        }
        const NewData& d = it->second;
        const std::size_t header = out.size();
        out.append(bytes.substr(e->localOffset, e->dataOffset - e->localOffset));
        // With a data descriptor the header's CRC and sizes stay as they were
        // written (zero); the descriptor carries them.
        if (e->descriptorSize == 0) {
            storeU32(out, header + kLocalCrcAt, d.crc);
            storeU32(out, header + kLocalCrcAt + 4,
                     static_cast<std::uint32_t>(d.compressed.size()));
            storeU32(out, header + kLocalCrcAt + 8, d.size);
        }
        out += d.compressed;
        if (e->descriptorSize == 16) {
            appendU32(out, kDescriptorSignature);
        }
        if (e->descriptorSize != 0) {
            appendU32(out, d.crc);
            appendU32(out, static_cast<std::uint32_t>(d.compressed.size()));
            appendU32(out, d.size);
        }
    }
    out.append(bytes.substr(copied, archive.centralStart - copied));

    const std::uint64_t centralStart = out.size();
    std::uint16_t count = 0;
    for (const ZipEntry& e : archive.entries) {
        if (removed(e)) {
            continue;
        }
        const std::size_t at = out.size();
        out.append(bytes.substr(e.centralOffset, e.centralSize));
        storeU32(out, at + kCentralLocalOffsetAt, offset32(newOffsets[e.name]));
        const auto it = replaced.find(e.name);
        if (it != replaced.end()) {
            storeU32(out, at + kCentralCrcAt, it->second.crc);
            storeU32(out, at + kCentralCompressedAt,
                     static_cast<std::uint32_t>(it->second.compressed.size()));
            storeU32(out, at + kCentralSizeAt, it->second.size);
        }
        ++count;
    }
    const std::uint64_t centralSize = out.size() - centralStart;
    out.append(bytes.substr(archive.centralEnd, archive.endRecord - archive.centralEnd));
    const std::size_t end = out.size();
    out.append(bytes.substr(archive.endRecord));
    storeU16(out, end + kEndDiskEntriesAt, count);
    storeU16(out, end + kEndEntriesAt, count);
    storeU32(out, end + kEndCentralSizeAt, offset32(centralSize));
    storeU32(out, end + kEndCentralOffsetAt, offset32(centralStart));
    return out;
}

} // namespace faultward::office

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "office/byte_order.h"
#include "office/compound_file.h"
#include "office/compound_layout.h"
#include "platform/utf16.h"

namespace faultward::office {
namespace {

using namespace cfb;

// Storages nest no deeper than this: a deeper tree is taken as damaged
// rather than walked on the stack.
constexpr int kMaxNesting = 64;

std::string sectorName(std::uint32_t sector) {
    return "sector " + std::to_string(sector);
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    CompoundFile read() {
        readHeader();
        readFat();
        directory_ = chainBytes(readU32(bytes_, kFirstDirectorySectorAt), fat_, "the directory");
        entryCount_ = static_cast<std::uint32_t>(directory_.size() / kDirectoryEntrySize);
        if (entryCount_ == 0 || entryType(0) != kTypeRoot) {
            throw FormatError("the compound file's directory has no root entry");
        }
        readMiniStream();
        seen_.assign(entryCount_, false);
        seen_[0] = true;
        CompoundFile file;
        file.majorVersion = majorVersion_;
        file.root = entryAt(0, 0);
        return file;
    }

private:
    void readHeader() {
        if (bytes_.size() < 512 || bytes_.substr(0, 8) != std::string_view(kSignature, 8)) {
            throw FormatError("not a compound file (no compound file signature)");
        }
        majorVersion_ = readU16(bytes_, kMajorVersionAt);
        const std::uint16_t shift = readU16(bytes_, kSectorShiftAt);
        if (!((majorVersion_ == 3 && shift == 9) || (majorVersion_ == 4 && shift == 12))) {
            throw FormatError("the compound file's version " + std::to_string(majorVersion_) +
                              " with sectors of 2^" + std::to_string(shift) +
                              " bytes is not one the format defines");
        }
        if (readU16(bytes_, kByteOrderAt) != 0xFFFE || readU16(bytes_, kMiniSectorShiftAt) != 6 ||
            readU32(bytes_, kMiniStreamCutoffAt) != kMiniStreamCutoff) {
            throw FormatError("the compound file's header has values the format does not allow");
        }
        sectorSize_ = 1u << shift;
        if (bytes_.size() < sectorSize_) {
            throw FormatError("the compound file ends inside its header");
        }
        sectorCount_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(
            (bytes_.size() - sectorSize_ + sectorSize_ - 1) / sectorSize_, kMaxRegularSector));
    }

    // A sector's bytes; the last sector of a file may be cut short.
    std::string_view sector(std::uint32_t index) const {
        if (index >= sectorCount_) {
            throw FormatError("the compound file names " + sectorName(index) + ", past its end");
        }
        const std::uint64_t offset = (static_cast<std::uint64_t>(index) + 1) * sectorSize_;
        return bytes_.substr(offset, sectorSize_);
    }

    void readFat() {
        const std::uint32_t fatSectors = readU32(bytes_, kFatSectorCountAt);
        if (fatSectors > sectorCount_) {
            throw FormatError("the compound file claims " + std::to_string(fatSectors) +
                              " FAT sectors in a file of " + std::to_string(sectorCount_));
        }
        std::vector<std::uint32_t> fatList;
        for (std::uint32_t i = 0; i < kHeaderDifatEntries && fatList.size() < fatSectors; ++i) {
            fatList.push_back(readU32(bytes_, kHeaderDifatAt + 4 * i));
        }
        const std::uint32_t perDifat = sectorSize_ / 4 - 1;
        std::uint32_t next = readU32(bytes_, kFirstDifatSectorAt);
        std::vector<bool> visited(sectorCount_, false);
        while (fatList.size() < fatSectors) {
            if (next >= sectorCount_ || visited[next]) {
                throw FormatError(next >= sectorCount_ ? "the compound file's DIFAT names " +
                                                             sectorName(next) + ", past its end"
                                                       : "the compound file's DIFAT chain loops");
            }
            visited[next] = true;
            const std::string_view difat = sector(next);
            for (std::uint32_t i = 0; i < perDifat && fatList.size() < fatSectors; ++i) {
                fatList.push_back(readU32(difat, 4 * i, "a DIFAT sector"));
            }
            next = readU32(difat, 4 * perDifat, "a DIFAT sector");
        }
        fat_.reserve(static_cast<std::size_t>(fatSectors) * (sectorSize_ / 4));
        for (std::uint32_t index : fatList) {
            const std::string_view s = sector(index);
            for (std::uint32_t i = 0; i < sectorSize_ / 4; ++i) {
                fat_.push_back(4 * i + 4 <= s.size() ? readU32(s, 4 * i) : kFreeSector);
            }
        }
    }

    // The sectors of a chain, each once, every one checked.
    std::vector<std::uint32_t> chain(std::uint32_t start, const std::vector<std::uint32_t>& table,
                                     std::uint32_t limit, const std::string& what) const {
        std::vector<std::uint32_t> sectors;
        std::vector<bool> visited(std::min<std::size_t>(table.size(), limit), false);
        for (std::uint32_t s = start; s != kEndOfChain; s = table[s]) {
            if (s >= visited.size()) {
                throw FormatError("the chain of " + what + " names " + sectorName(s) +
                                  ", which does not exist");
            }
            if (visited[s]) {
                throw FormatError("the chain of " + what + " loops");
            }
            visited[s] = true;
            sectors.push_back(s);
        }
        return sectors;
    }

    // The bytes of a chain of regular sectors, all of them, or the first size.
    std::string chainBytes(std::uint32_t start, const std::vector<std::uint32_t>& table,
                           const std::string& what, std::uint64_t size = UINT64_MAX) const {
        const auto sectors = chain(start, table, sectorCount_, what);
        const std::uint64_t capacity = static_cast<std::uint64_t>(sectors.size()) * sectorSize_;
        if (size != UINT64_MAX && size > capacity) {
            throw FormatError(what + " claims " + std::to_string(size) +
                              " bytes but its sectors hold " + std::to_string(capacity));
        }
        std::uint64_t remaining = size == UINT64_MAX ? capacity : size;
        std::string out;
        out.reserve(static_cast<std::size_t>(remaining));
        for (std::uint32_t s : sectors) {
            if (remaining == 0) {
                break;
            }
            const std::string_view data = sector(s);
            const auto take =
                static_cast<std::size_t>(std::min<std::uint64_t>(remaining, sectorSize_));
            if (data.size() < take) {
                throw FormatError(what + " runs past the end of the compound file");
            }
            out.append(data.substr(0, take));
            remaining -= take;
        }
        return out;
    }

    void readMiniStream() {
        const std::uint32_t miniFatStart = readU32(bytes_, kFirstMiniFatSectorAt);
        if (miniFatStart != kEndOfChain && readU32(bytes_, kMiniFatSectorCountAt) != 0) {
            const std::string table = chainBytes(miniFatStart, fat_, "the mini FAT");
            for (std::size_t i = 0; i + 4 <= table.size(); i += 4) {
                miniFat_.push_back(readU32(table, i));
            }
        }
        const std::uint64_t size = entrySize(0);
        if (size > 0) {
            miniStream_ =
                chainBytes(readU32(directory_, kStartSectorAt), fat_, "the mini stream", size);
        }
    }

    std::string_view entryBytes(std::uint32_t id) const {
        return std::string_view(directory_)
            .substr(static_cast<std::size_t>(id) * kDirectoryEntrySize, kDirectoryEntrySize);
    }

    unsigned char entryType(std::uint32_t id) const {
        return static_cast<unsigned char>(entryBytes(id)[kTypeAt]);
    }

    std::uint64_t entrySize(std::uint32_t id) const {
        const std::uint64_t size = readU64(entryBytes(id), kSizeAt);
        // Version 3 files keep only 32 bits; some writers leave the rest unset.
        return majorVersion_ == 3 ? (size & 0xFFFFFFFFu) : size;
    }

    std::u16string entryName(std::uint32_t id) const {
        const std::string_view e = entryBytes(id);
        const std::uint16_t length = readU16(e, kNameLengthAt);
        if (length > 64 || length < 4 || length % 2 != 0) {
            throw FormatError("directory entry " + std::to_string(id) + " has a name length of " +
                              std::to_string(length));
        }
        std::u16string name;
        for (std::uint16_t i = 0; i + 2 < length; i += 2) {
            name.push_back(static_cast<char16_t>(readU16(e, i)));
        }
        return name;
    }

    std::string streamData(std::uint32_t id, const std::string& what) const {
        const std::uint64_t size = entrySize(id);
        const std::uint32_t start = readU32(entryBytes(id), kStartSectorAt);
        if (size == 0) {
            return {};
        }
        if (size >= kMiniStreamCutoff) {
            return chainBytes(start, fat_, what, size);
        }
        const auto sectors =
            chain(start, miniFat_,
                  static_cast<std::uint32_t>((miniStream_.size() + kMiniSectorSize - 1) /
                                             kMiniSectorSize),
                  what);
        if (static_cast<std::uint64_t>(sectors.size()) * kMiniSectorSize < size) {
            throw FormatError(what + " claims " + std::to_string(size) +
                              " bytes but its mini sectors hold fewer");
        }
        std::string out;
        for (std::uint32_t s : sectors) {
            const std::size_t take = std::min<std::size_t>(size - out.size(), kMiniSectorSize);
            out.append(miniStream_, static_cast<std::size_t>(s) * kMiniSectorSize, take);
            if (out.size() == size) {
                break;
            }
        }
        if (out.size() != size) {
            throw FormatError(what + " runs past the end of the mini stream");
        }
        return out;
    }

    CompoundEntry entryAt(std::uint32_t id, int depth) {
        const std::string_view e = entryBytes(id);
        CompoundEntry entry;
        entry.name = entryName(id);
        std::memcpy(entry.clsid.data(), e.data() + kClsidAt, 16);
        entry.stateBits = readU32(e, kStateBitsAt);
        entry.created = readU64(e, kCreatedAt);
        entry.modified = readU64(e, kModifiedAt);
        const unsigned char type = entryType(id);
        const std::string what = "stream '" + wtf8FromUtf16(entry.name) + "'";
        if (type == kTypeStream) {
            entry.kind = CompoundEntry::Kind::Stream;
            entry.data = streamData(id, what);
            return entry;
        }
        if (type != kTypeStorage && type != kTypeRoot) {
            throw FormatError("directory entry " + std::to_string(id) + " has the unknown type " +
                              std::to_string(type));
        }
        if (depth > kMaxNesting) {
            throw FormatError("the compound file's storages nest too deep");
        }
        entry.kind = CompoundEntry::Kind::Storage;
        // The children's tree, walked in order (left, node, right) without
        // recursion: a hostile tree may be one long branch.
        std::vector<std::uint32_t> pending;
        std::uint32_t node = readU32(e, kChildAt);
        while (node != kNoStream || !pending.empty()) {
            while (node != kNoStream) {
                if (node >= entryCount_ || seen_[node]) {
                    throw FormatError(node >= entryCount_
                                          ? "the directory names entry " + std::to_string(node) +
                                                ", which does not exist"
                                          : "the directory reaches entry " + std::to_string(node) +
                                                " twice");
                }
                seen_[node] = true;
                pending.push_back(node);
                node = readU32(entryBytes(node), kLeftAt);
            }
            const std::uint32_t current = pending.back();
            pending.pop_back();
            if (entryType(current) == kTypeRoot) {
                throw FormatError("the directory holds a second root entry");
            }
            entry.children.push_back(entryAt(current, depth + 1));
            node = readU32(entryBytes(current), kRightAt);
        }
        return entry;
    }

    std::string_view bytes_;
    std::uint16_t majorVersion_ = 3;
    std::uint32_t sectorSize_ = 512;
    std::uint32_t sectorCount_ = 0;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::string directory_;
    std::uint32_t entryCount_ = 0;
    std::string miniStream_;
    std::vector<bool> seen_;
};

} // namespace

bool hasCompoundFileSignature(std::string_view bytes) {
    return bytes.substr(0, 8) == std::string_view(kSignature, 8);
}

CompoundFile readCompoundFile(std::string_view bytes) {
    return Reader(bytes).read();
}

} // namespace faultward::office

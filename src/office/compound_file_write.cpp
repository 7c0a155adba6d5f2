#include <cstring>
#include <string>
#include <vector>

#include "office/byte_order.h"
#include "office/compound_file.h"
#include "office/compound_layout.h"

namespace faultward::office {
namespace {

using namespace cfb;

struct DirectoryRecord {
    const CompoundEntry* entry = nullptr;
    bool root = false;
    std::uint32_t left = kNoStream;
    std::uint32_t right = kNoStream;
    std::uint32_t child = kNoStream;
    bool red = false;
    std::uint32_t start = kEndOfChain;
    std::uint64_t size = 0;
};

std::uint32_t sectorsFor(std::uint64_t bytes, std::uint32_t sectorSize) {
    return static_cast<std::uint32_t>((bytes + sectorSize - 1) / sectorSize);
}

class Writer {
public:
    explicit Writer(const CompoundFile& file)
        : file_(file), sectorSize_(file.majorVersion == 4 ? 4096u : 512u) {}

    std::string write() {
        records_.push_back({&file_.root, true});
        records_[0].child = addChildren(file_.root, 0);
        placeStreams();
        return assemble();
    }

private:
    // Gives each child a record and links them as a balanced tree: the middle
    // one is the root of its range. Its levels are full but the last, so the
    // last level red and the others black keep every path equally black.
    std::uint32_t addChildren(const CompoundEntry& storage, std::uint32_t) {
        std::vector<std::uint32_t> ids;
        for (const auto& c : storage.children) {
            if (c.name.empty() || c.name.size() > 31) {
                throw FormatError("a compound file cannot hold the name '" + c.displayName() +
                                  "' (1 to 31 characters)");
            }
            ids.push_back(static_cast<std::uint32_t>(records_.size()));
            records_.push_back({&c});
        }
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (storage.children[i].isStorage()) {
                const std::uint32_t child = addChildren(storage.children[i], 0);
                records_[ids[i]].child = child;
            }
        }
        int height = 0;
        while ((std::size_t{2} << height) - 1 < ids.size()) {
            ++height;
        }
        return link(ids, 0, ids.size(), 0, height);
    }

    std::uint32_t link(const std::vector<std::uint32_t>& ids, std::size_t begin, std::size_t end,
                       int depth, int height) {
        if (begin >= end) {
            return kNoStream;
        }
        const std::size_t middle = begin + (end - begin) / 2;
        const std::uint32_t id = ids[middle];
        const std::uint32_t left = link(ids, begin, middle, depth + 1, height);
        const std::uint32_t right = link(ids, middle + 1, end, depth + 1, height);
        records_[id].left = left;
        records_[id].right = right;
        records_[id].red =
            depth == height && height > 0 && ids.size() != (std::size_t{2} << height) - 1;
        return id;
    }

    void placeStreams() {
        std::uint32_t regular = 0;
        std::uint32_t mini = 0;
        for (auto& r : records_) {
            if (r.root || r.entry->isStorage()) {
                continue;
            }
            r.size = r.entry->data.size();
            if (r.size == 0) {
                continue;
            }
            if (r.size >= kMiniStreamCutoff) {
                r.start = regular;
                regular += sectorsFor(r.size, sectorSize_);
            } else {
                r.start = mini;
                mini += sectorsFor(r.size, kMiniSectorSize);
            }
        }
        streamSectors_ = regular;
        miniSectors_ = mini;
    }

    std::string assemble() {
        const std::uint64_t miniStreamBytes =
            static_cast<std::uint64_t>(miniSectors_) * kMiniSectorSize;
        const std::uint32_t miniStreamSectors = sectorsFor(miniStreamBytes, sectorSize_);
        const std::uint32_t directorySectors = sectorsFor(
            static_cast<std::uint64_t>(records_.size()) * kDirectoryEntrySize, sectorSize_);
        const std::uint32_t miniFatSectors =
            sectorsFor(static_cast<std::uint64_t>(miniSectors_) * 4, sectorSize_);
        const std::uint32_t base =
            streamSectors_ + miniStreamSectors + directorySectors + miniFatSectors;
        const std::uint32_t perSector = sectorSize_ / 4;
        std::uint32_t fatSectors = 0;
        std::uint32_t difatSectors = 0;
        while (true) {
            difatSectors = fatSectors > kHeaderDifatEntries
                               ? sectorsFor(fatSectors - kHeaderDifatEntries, perSector - 1)
                               : 0;
            if (static_cast<std::uint64_t>(fatSectors) * perSector >=
                base + fatSectors + difatSectors) {
                break;
            }
            ++fatSectors;
        }
        const std::uint32_t miniStreamStart = streamSectors_;
        const std::uint32_t directoryStart = miniStreamStart + miniStreamSectors;
        const std::uint32_t miniFatStart = directoryStart + directorySectors;
        const std::uint32_t difatStart = miniFatStart + miniFatSectors;
        const std::uint32_t fatStart = difatStart + difatSectors;
        const std::uint32_t total = fatStart + fatSectors;

        std::vector<std::uint32_t> fat(static_cast<std::size_t>(fatSectors) * perSector,
                                       kFreeSector);
        auto chainRun = [&](std::vector<std::uint32_t>& table, std::uint32_t start,
                            std::uint32_t count) {
            for (std::uint32_t i = 0; i < count; ++i) {
                table[start + i] = i + 1 == count ? kEndOfChain : start + i + 1;
            }
        };
        std::vector<std::uint32_t> miniFat(static_cast<std::size_t>(miniFatSectors) * perSector,
                                           kFreeSector);
        std::string miniStream;
        miniStream.reserve(static_cast<std::size_t>(miniStreamSectors) * sectorSize_);
        std::string body(static_cast<std::size_t>(total) * sectorSize_, '\0');
        for (const auto& r : records_) {
            if (r.root || r.entry->isStorage() || r.size == 0) {
                continue;
            }
            if (r.size >= kMiniStreamCutoff) {
                chainRun(fat, r.start, sectorsFor(r.size, sectorSize_));
                std::memcpy(body.data() + static_cast<std::size_t>(r.start) * sectorSize_,
                            r.entry->data.data(), r.entry->data.size());
            } else {
                chainRun(miniFat, r.start, sectorsFor(r.size, kMiniSectorSize));
                miniStream += r.entry->data;
                miniStream.resize(miniStream.size() + (kMiniSectorSize - r.size % kMiniSectorSize) %
                                                          kMiniSectorSize,
                                  '\0');
            }
        }
        chainRun(fat, miniStreamStart, miniStreamSectors);
        std::memcpy(body.data() + static_cast<std::size_t>(miniStreamStart) * sectorSize_,
                    miniStream.data(), miniStream.size());
        chainRun(fat, directoryStart, directorySectors);
        writeDirectory(body, directoryStart, miniStreamSectors ? miniStreamStart : kEndOfChain,
                       miniStream.size());
        chainRun(fat, miniFatStart, miniFatSectors);
        for (std::size_t i = 0; i < miniFat.size(); ++i) {
            storeU32(body, static_cast<std::size_t>(miniFatStart) * sectorSize_ + 4 * i,
                     miniFat[i]);
        }
        for (std::uint32_t i = 0; i < difatSectors; ++i) {
            fat[difatStart + i] = kDifatSector;
        }
        for (std::uint32_t i = 0; i < fatSectors; ++i) {
            fat[fatStart + i] = kFatSector;
        }
        for (std::size_t i = 0; i < fat.size(); ++i) {
            storeU32(body, static_cast<std::size_t>(fatStart) * sectorSize_ + 4 * i, fat[i]);
        }
        // The FAT sectors past the header's 109 are listed in the DIFAT sectors.
        for (std::uint32_t d = 0; d < difatSectors; ++d) {
            const std::size_t at = static_cast<std::size_t>(difatStart + d) * sectorSize_;
            for (std::uint32_t i = 0; i < perSector - 1; ++i) {
                const std::uint64_t index =
                    kHeaderDifatEntries + static_cast<std::uint64_t>(d) * (perSector - 1) + i;
                storeU32(body, at + 4 * i,
                         index < fatSectors ? fatStart + static_cast<std::uint32_t>(index)
                                            : kFreeSector);
            }
            storeU32(body, at + 4 * (perSector - 1),
                     d + 1 < difatSectors ? difatStart + d + 1 : kEndOfChain);
        }

        std::string out = header(fatSectors, fatStart, directoryStart, directorySectors,
                                 miniFatSectors ? miniFatStart : kEndOfChain, miniFatSectors,
                                 difatSectors ? difatStart : kEndOfChain, difatSectors);
        out += body;
        return out;
    }

    void writeDirectory(std::string& body, std::uint32_t start, std::uint32_t miniStreamStart,
                        std::uint64_t miniStreamSize) const {
        const std::size_t base = static_cast<std::size_t>(start) * sectorSize_;
        const std::size_t slots = sectorsFor(records_.size() * kDirectoryEntrySize, sectorSize_) *
                                  (sectorSize_ / kDirectoryEntrySize);
        for (std::size_t i = 0; i < slots; ++i) {
            const std::size_t at = base + i * kDirectoryEntrySize;
            storeU32(body, at + kLeftAt, kNoStream);
            storeU32(body, at + kRightAt, kNoStream);
            storeU32(body, at + kChildAt, kNoStream);
            if (i >= records_.size()) {
                continue;
            }
            const DirectoryRecord& r = records_[i];
            const CompoundEntry& e = *r.entry;
            const std::u16string_view name =
                r.root && e.name.empty() ? std::u16string_view(u"Root Entry") : e.name;
            const std::size_t nameChars = name.size();
            for (std::size_t c = 0; c < nameChars; ++c) {
                storeU16(body, at + 2 * c, static_cast<std::uint16_t>(name[c]));
            }
            storeU16(body, at + kNameLengthAt, static_cast<std::uint16_t>(2 * (nameChars + 1)));
            body[at + kTypeAt] = static_cast<char>(r.root          ? kTypeRoot
                                                   : e.isStorage() ? kTypeStorage
                                                                   : kTypeStream);
            body[at + kColourAt] = r.red ? 0 : 1;
            storeU32(body, at + kLeftAt, r.left);
            storeU32(body, at + kRightAt, r.right);
            storeU32(body, at + kChildAt, r.child);
            std::memcpy(body.data() + at + kClsidAt, e.clsid.data(), 16);
            storeU32(body, at + kStateBitsAt, e.stateBits);
            storeU32(body, at + kCreatedAt, static_cast<std::uint32_t>(e.created));
            storeU32(body, at + kCreatedAt + 4, static_cast<std::uint32_t>(e.created >> 32));
            storeU32(body, at + kModifiedAt, static_cast<std::uint32_t>(e.modified));
            storeU32(body, at + kModifiedAt + 4, static_cast<std::uint32_t>(e.modified >> 32));
            const std::uint32_t startSector = r.root          ? miniStreamStart
                                              : e.isStorage() ? 0
                                                              : r.start;
            const std::uint64_t size = r.root ? miniStreamSize : r.size;
            storeU32(body, at + kStartSectorAt, startSector);
            storeU32(body, at + kSizeAt, static_cast<std::uint32_t>(size));
            storeU32(body, at + kSizeAt + 4, static_cast<std::uint32_t>(size >> 32));
        }
    }

    std::string header(std::uint32_t fatSectors, std::uint32_t fatStart,
                       std::uint32_t directoryStart, std::uint32_t directorySectors,
                       std::uint32_t miniFatStart, std::uint32_t miniFatSectors,
                       std::uint32_t difatStart, std::uint32_t difatSectors) const {
        std::string h(sectorSize_, '\0');
        std::memcpy(h.data(), kSignature, 8);
        storeU16(h, 24, 0x003E);
        storeU16(h, kMajorVersionAt, file_.majorVersion == 4 ? 4 : 3);
        storeU16(h, kByteOrderAt, 0xFFFE);
        storeU16(h, kSectorShiftAt, file_.majorVersion == 4 ? 12 : 9);
        storeU16(h, kMiniSectorShiftAt, 6);
        storeU32(h, kDirectorySectorCountAt, file_.majorVersion == 4 ? directorySectors : 0);
        storeU32(h, kFatSectorCountAt, fatSectors);
        storeU32(h, kFirstDirectorySectorAt, directoryStart);
        storeU32(h, kMiniStreamCutoffAt, kMiniStreamCutoff);
        storeU32(h, kFirstMiniFatSectorAt, miniFatStart);
        storeU32(h, kMiniFatSectorCountAt, miniFatSectors);
        storeU32(h, kFirstDifatSectorAt, difatStart);
        storeU32(h, kDifatSectorCountAt, difatSectors);
        for (std::uint32_t i = 0; i < kHeaderDifatEntries; ++i) {
            storeU32(h, kHeaderDifatAt + 4 * i, i < fatSectors ? fatStart + i : kFreeSector);
        }
        return h;
    }

    const CompoundFile& file_;
    std::uint32_t sectorSize_;
    std::vector<DirectoryRecord> records_;
    std::uint32_t streamSectors_ = 0;
    std::uint32_t miniSectors_ = 0;
};

} // namespace

std::string writeCompoundFile(const CompoundFile& file) {
    return Writer(file).write();
}

} // namespace faultward::office

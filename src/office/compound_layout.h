#pragma once

#include <cstdint>

namespace faultward::office::cfb {

// The numbers the compound file's header, FAT and directory are made of.
inline constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
inline constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
inline constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
inline constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
inline constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
inline constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
inline constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

inline constexpr std::uint32_t kHeaderDifatEntries = 109;
inline constexpr std::uint32_t kMiniSectorSize = 64;
inline constexpr std::uint32_t kMiniStreamCutoff = 4096;
inline constexpr std::uint32_t kDirectoryEntrySize = 128;

inline constexpr unsigned char kTypeStorage = 1;
inline constexpr unsigned char kTypeStream = 2;
inline constexpr unsigned char kTypeRoot = 5;

// Offsets in the header.
inline constexpr int kMajorVersionAt = 26;
inline constexpr int kByteOrderAt = 28;
inline constexpr int kSectorShiftAt = 30;
inline constexpr int kMiniSectorShiftAt = 32;
inline constexpr int kDirectorySectorCountAt = 40;
inline constexpr int kFatSectorCountAt = 44;
inline constexpr int kFirstDirectorySectorAt = 48;
inline constexpr int kMiniStreamCutoffAt = 56;
inline constexpr int kFirstMiniFatSectorAt = 60;
inline constexpr int kMiniFatSectorCountAt = 64;
inline constexpr int kFirstDifatSectorAt = 68;
inline constexpr int kDifatSectorCountAt = 72;
inline constexpr int kHeaderDifatAt = 76;

// Offsets in a directory entry.
inline constexpr int kNameLengthAt = 64;
inline constexpr int kTypeAt = 66;
inline constexpr int kColourAt = 67;
inline constexpr int kLeftAt = 68;
inline constexpr int kRightAt = 72;
inline constexpr int kChildAt = 76;
inline constexpr int kClsidAt = 80;
inline constexpr int kStateBitsAt = 96;
inline constexpr int kCreatedAt = 100;
inline constexpr int kModifiedAt = 108;
inline constexpr int kStartSectorAt = 116;
inline constexpr int kSizeAt = 120;

} // namespace faultward::office::cfb

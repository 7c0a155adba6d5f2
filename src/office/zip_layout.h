#pragma once

#include <cstdint>

namespace faultward::office::zip {

inline constexpr std::uint32_t kLocalSignature = 0x04034B50;
inline constexpr std::uint32_t kCentralSignature = 0x02014B50;
inline constexpr std::uint32_t kEndSignature = 0x06054B50;
inline constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
inline constexpr std::uint32_t kDescriptorSignature = 0x08074B50;

inline constexpr std::uint16_t kStored = 0;
inline constexpr std::uint16_t kDeflated = 8;
inline constexpr std::uint16_t kHasDescriptor = 0x0008;

inline constexpr int kLocalHeaderSize = 30;
inline constexpr int kCentralHeaderSize = 46;
inline constexpr int kEndRecordSize = 22;

// Offsets in a local header.
inline constexpr int kLocalFlagsAt = 6;
inline constexpr int kLocalMethodAt = 8;
inline constexpr int kLocalCrcAt = 14;
inline constexpr int kLocalNameLengthAt = 26;
inline constexpr int kLocalExtraLengthAt = 28;

// Offsets in a central record.
inline constexpr int kCentralFlagsAt = 8;
inline constexpr int kCentralMethodAt = 10;
inline constexpr int kCentralCrcAt = 16;
inline constexpr int kCentralCompressedAt = 20;
inline constexpr int kCentralSizeAt = 24;
inline constexpr int kCentralNameLengthAt = 28;
inline constexpr int kCentralExtraLengthAt = 30;
inline constexpr int kCentralCommentLengthAt = 32;
inline constexpr int kCentralDiskAt = 34;
inline constexpr int kCentralLocalOffsetAt = 42;

// Offsets in the end of central directory record.
inline constexpr int kEndDiskAt = 4;
inline constexpr int kEndCentralDiskAt = 6;
inline constexpr int kEndDiskEntriesAt = 8;
inline constexpr int kEndEntriesAt = 10;
inline constexpr int kEndCentralSizeAt = 12;
inline constexpr int kEndCentralOffsetAt = 16;
inline constexpr int kEndCommentLengthAt = 20;

inline constexpr std::uint16_t kZip64ExtraId = 0x0001;

} // namespace faultward::office::zip

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace faultward::office {

// The compression of VBA projects: a container of chunks, each holding up to
// 4096 bytes of the data, as literal bytes and copy tokens (offset and length
// sharing 16 bits, split by how far into its chunk the token stands), or raw.
// The dir stream and every module's source are kept in it.

// The whole container for data: the signature byte, then one chunk for each
// 4096 bytes. A chunk that would not get smaller is stored raw, which needs
// all 4096 bytes; a shorter last chunk that would not get smaller goes into
// two compressed chunks instead, since a raw one would pad the data with
// zeros.
std::string compressVba(std::string_view data);

// The data a container holds. Throws FormatError naming the fault: no
// signature byte, a chunk header without its signature, a chunk cut short
// (a raw one short of its 4096 bytes), a copy token that reaches before its chunk, or a chunk
// that gives more than 4096 bytes.
// A few bytes of chunk give 4096 of data: past this size a container is
// taken as hostile rather than decompressed into all of memory.
inline constexpr std::size_t kMaxDecompressedSize = std::size_t{64} << 20;

std::string decompressVba(std::string_view container);

} // namespace faultward::office

#include "office/zip_builder.h"

#include <zlib.h>

#include "office/byte_order.h"

namespace faultward::office::testing {

namespace {

std::string deflated(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string z(size, '\0');
    compress2(reinterpret_cast<Bytef*>(z.data()), &size,
              reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()), 9);
    // A zlib stream: two bytes of header and four of checksum around the
    // raw deflate data a ZIP entry holds.
    return z.substr(2, size - 6);
}

} // namespace

std::string buildZip(const std::vector<BuiltEntry>& entries, const std::string& comment) {
    std::string out;
    std::string central;
    for (const auto& e : entries) {
        const std::string body = e.deflated ? deflated(e.data) : e.data;
        const auto crc = static_cast<std::uint32_t>(crc32(
            0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size())));
        const bool descriptor = e.descriptor != BuiltEntry::Descriptor::None;
        const std::uint16_t flags = descriptor ? 0x0008 : 0;
        const std::uint16_t method = e.deflated ? 8 : 0;
        const auto offset = static_cast<std::uint32_t>(out.size());
        appendU32(out, 0x04034B50);
        appendU16(out, 20);
        appendU16(out, flags);
        appendU16(out, method);
        appendU16(out, e.time);
        appendU16(out, e.date);
        appendU32(out, descriptor ? 0 : crc);
        appendU32(out, descriptor ? 0 : static_cast<std::uint32_t>(body.size()));
        appendU32(out, descriptor ? 0 : static_cast<std::uint32_t>(e.data.size()));
        appendU16(out, static_cast<std::uint16_t>(e.name.size()));
        appendU16(out, static_cast<std::uint16_t>(e.extra.size()));
        out += e.name + e.extra + body;
        if (e.descriptor == BuiltEntry::Descriptor::Signed) {
            appendU32(out, 0x08074B50);
        }
        if (descriptor) {
            appendU32(out, crc);
            appendU32(out, static_cast<std::uint32_t>(body.size()));
            appendU32(out, static_cast<std::uint32_t>(e.data.size()));
        }
        appendU32(central, 0x02014B50);
        appendU16(central, 0x031E);
        appendU16(central, 20);
        appendU16(central, flags);
        appendU16(central, method);
        appendU16(central, e.time);
        appendU16(central, e.date);
        appendU32(central, crc);
        appendU32(central, static_cast<std::uint32_t>(body.size()));
        appendU32(central, static_cast<std::uint32_t>(e.data.size()));
        appendU16(central, static_cast<std::uint16_t>(e.name.size()));
        appendU16(central, static_cast<std::uint16_t>(e.extra.size()));
        appendU16(central, 0);
        appendU16(central, 0);
        appendU16(central, 0);
        appendU32(central, 0x81A40000);
        appendU32(central, offset);
        central += e.name + e.extra;
    }
    const auto centralOffset = static_cast<std::uint32_t>(out.size());
    out += central;
    appendU32(out, 0x06054B50);
    appendU16(out, 0);
    appendU16(out, 0);
    appendU16(out, static_cast<std::uint16_t>(entries.size()));
    appendU16(out, static_cast<std::uint16_t>(entries.size()));
    appendU32(out, static_cast<std::uint32_t>(central.size()));
    appendU32(out, centralOffset);
    appendU16(out, static_cast<std::uint16_t>(comment.size()));
    out += comment;
    return out;
}

} // namespace faultward::office::testing

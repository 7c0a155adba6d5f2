#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace faultward::office::testing {

// ZIP archives of a chosen shape, for the reader's and the writer's tests:
// each entry stored or deflated, with or without a data descriptor (and its
// signature), with extra fields and a time; a comment at the end.
struct BuiltEntry {
    enum class Descriptor { None, Plain, Signed };

    BuiltEntry(std::string entryName, std::string entryData, bool deflate = true,
               Descriptor withDescriptor = Descriptor::None, std::string extraField = {})
        : name(std::move(entryName)), data(std::move(entryData)), deflated(deflate),
          descriptor(withDescriptor), extra(std::move(extraField)) {}

    std::string name;
    std::string data;
    bool deflated = true;
    Descriptor descriptor = Descriptor::None;
    std::string extra;
    std::uint16_t time = 0x6B2A;
    std::uint16_t date = 0x5A21;
};

std::string buildZip(const std::vector<BuiltEntry>& entries, const std::string& comment = "");

} // namespace faultward::office::testing

#include "office/zip_package.h"

#include <gtest/gtest.h>

#include "office/byte_order.h"
#include "office/format_error.h"
#include "office/zip_builder.h"

namespace faultward::office {
namespace {

using testing::buildZip;
using testing::BuiltEntry;
using Descriptor = BuiltEntry::Descriptor;

std::string text(std::size_t size, char seed) {
    std::string s;
    while (s.size() < size) {
        s += "Attribute VB_Name = \"Module";
        s.push_back(seed);
        s += "\"\r\n";
    }
    s.resize(size);
    return s;
}

std::vector<BuiltEntry> packageEntries() {
    return {
        {"[Content_Types].xml", text(900, 'c')},
        {"xl/workbook.xml", text(3000, 'w'), true, Descriptor::Signed,
         "\x55\x54\x05\x00\x01\x02\x03\x04\x05"},
        {"xl/vbaProject.bin", text(9000, 'v'), true, Descriptor::Plain},
        {"xl/media/image1.png", text(500, 'i'), false},
        {"xl/vbaProjectSignature.bin", text(300, 's'), false, Descriptor::Signed},
    };
}

TEST(ZipPackage, ReadsEveryEntryStoredOrDeflatedWithOrWithoutADescriptor) {
    const auto entries = packageEntries();
    const std::string zip = buildZip(entries, "a comment");
    const ZipArchive archive = readZipArchive(zip);
    ASSERT_EQ(archive.entries.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(entries[i].name);
        EXPECT_EQ(archive.entries[i].name, entries[i].name);
        EXPECT_EQ(readZipEntry(zip, archive.entries[i]), entries[i].data);
    }
    EXPECT_EQ(archive.entries[1].descriptorSize, 16u);
    EXPECT_EQ(archive.entries[2].descriptorSize, 12u);
    EXPECT_EQ(archive.find("xl/vbaProject.bin"), &archive.entries[2]);
    EXPECT_EQ(archive.find("xl/VBAProject.bin"), nullptr);
}

std::string recordOf(const std::string& zip, const ZipEntry& e) {
    return zip.substr(e.localOffset, e.recordEnd - e.localOffset);
}

std::string centralOf(const std::string& zip, const ZipEntry& e) {
    std::string c = zip.substr(e.centralOffset, e.centralSize);
    storeU32(c, 42, 0); // where the record lies moves
    return c;
}

TEST(ZipPackage, ReplacesAndRemovesEntriesAndCopiesEveryOtherByte) {
    const auto entries = packageEntries();
    const std::string zip = buildZip(entries, "kept comment");
    const ZipArchive archive = readZipArchive(zip);
    const std::string newProject = text(12000, 'n');
    const std::string newImage = "stored anew";
    const std::string out = rewriteZipArchive(zip, archive,
                                              {{"xl/vbaProject.bin", newProject},
                                               {"xl/media/image1.png", newImage},
                                               {"xl/vbaProjectSignature.bin", std::nullopt}});
    const ZipArchive back = readZipArchive(out);
    ASSERT_EQ(back.entries.size(), 4u);
    for (const char* kept : {"[Content_Types].xml", "xl/workbook.xml"}) {
        SCOPED_TRACE(kept);
        EXPECT_EQ(recordOf(out, *back.find(kept)), recordOf(zip, *archive.find(kept)));
        EXPECT_EQ(centralOf(out, *back.find(kept)), centralOf(zip, *archive.find(kept)));
    }
    EXPECT_EQ(back.entries[2].name, "xl/vbaProject.bin");
    EXPECT_EQ(readZipEntry(out, back.entries[2]), newProject);
    EXPECT_EQ(readZipEntry(out, back.entries[3]), newImage);
    // A replaced entry keeps its method, descriptor, flags, time and name.
    EXPECT_EQ(back.entries[2].method, 8);
    EXPECT_EQ(back.entries[2].descriptorSize, 12u);
    EXPECT_EQ(back.entries[3].method, 0);
    EXPECT_EQ(readU32(out, back.entries[3].localOffset + 10),
              readU32(zip, archive.entries[3].localOffset + 10));
    EXPECT_EQ(out.substr(out.size() - 12), "kept comment");
    // Nothing asked, nothing changed.
    EXPECT_EQ(rewriteZipArchive(zip, archive, {}), zip);
}

TEST(ZipPackage, RefusesWhatItDoesNotHandleOrThatIsDamaged) {
    const std::string zip = buildZip(packageEntries());
    const ZipArchive archive = readZipArchive(zip);
    const std::size_t end = archive.endRecord;
    auto patched16 = [&](std::size_t at, std::uint16_t v) {
        std::string b = zip;
        storeU16(b, at, v);
        return b;
    };
    auto patched32 = [&](std::size_t at, std::uint32_t v) {
        std::string b = zip;
        storeU32(b, at, v);
        return b;
    };
    struct Case {
        const char* name;
        std::string bytes;
        const char* cause;
    } cases[] = {
        {"no end record", zip.substr(0, zip.size() - 10), "end of central directory"},
        {"ZIP64 count", patched16(end + 10, 0xFFFF), "ZIP64"},
        {"ZIP64 entry size", patched32(archive.entries[0].centralOffset + 20, 0xFFFFFFFF), "ZIP64"},
        {"several disks", patched16(end + 4, 1), "several disks"},
        {"directory outside", patched32(end + 16, 0x7FFFFFF0), "outside"},
        {"local header missing", patched32(archive.entries[1].centralOffset + 42, 3),
         "local header"},
        {"entries overlap",
         patched32(archive.entries[1].centralOffset + 20, archive.entries[1].compressedSize + 40),
         "overlap"},
        {"named twice", buildZip({{"a", "1"}, {"a", "2"}}), "two entries"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            readZipArchive(c.bytes);
            ADD_FAILURE() << "read without complaint";
        } catch (const FormatError& e) {
            EXPECT_NE(std::string(e.what()).find(c.cause), std::string::npos) << e.what();
        }
    }
}

TEST(ZipPackage, RefusesEntriesItCannotReadOrReplace) {
    std::string zip = buildZip(packageEntries());
    ZipArchive archive = readZipArchive(zip);
    // A wrong CRC, an unknown method, encryption.
    ZipEntry badCrc = archive.entries[0];
    badCrc.crc ^= 1;
    EXPECT_THROW(readZipEntry(zip, badCrc), FormatError);
    ZipEntry shorter = archive.entries[0];
    shorter.compressedSize -= 5;
    EXPECT_THROW(readZipEntry(zip, shorter), FormatError);
    ZipEntry huge = archive.entries[0];
    huge.size = kMaxZipEntrySize + 1;
    EXPECT_THROW(readZipEntry(zip, huge), FormatError);
    ZipEntry method = archive.entries[0];
    method.method = 12;
    EXPECT_THROW(readZipEntry(zip, method), FormatError);
    archive.entries[2].flags |= 1;
    EXPECT_THROW(readZipEntry(zip, archive.entries[2]), FormatError);
    EXPECT_THROW(rewriteZipArchive(zip, archive, {{"xl/vbaProject.bin", "x"}}), FormatError);
    EXPECT_THROW(rewriteZipArchive(zip, archive, {{"xl/missing.bin", "x"}}), FormatError);
}

} // namespace
} // namespace faultward::office

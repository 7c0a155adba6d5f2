#include "office/compound_file.h"

#include <gtest/gtest.h>

#include <string>

#include "office/byte_order.h"
#include "office/format_error.h"

namespace faultward::office {
namespace {

CompoundEntry stream(std::u16string name, std::string data) {
    CompoundEntry e;
    e.name = std::move(name);
    e.data = std::move(data);
    return e;
}

CompoundEntry storage(std::u16string name, std::vector<CompoundEntry> children) {
    CompoundEntry e;
    e.name = std::move(name);
    e.kind = CompoundEntry::Kind::Storage;
    for (auto& c : children) {
        insertInNameOrder(e.children, std::move(c));
    }
    return e;
}

std::string pattern(std::size_t size, char seed) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        s[i] = static_cast<char>(seed + i * 7 + i / 251);
    }
    return s;
}

// A project's shape: small streams in the mini stream, one large enough for
// regular sectors, an empty one, a nested storage with a CLSID and times.
CompoundFile sampleFile(std::uint16_t version) {
    CompoundFile file;
    file.majorVersion = version;
    file.root = storage(u"Root Entry", {});
    file.root.clsid[0] = 0x42;
    file.root.modified = 0x01D9'0000'1234'5678ull;
    CompoundEntry vba = storage(
        u"VBA", {stream(u"dir", pattern(700, 'd')), stream(u"Module1", pattern(5000, 'm')),
                 stream(u"_VBA_PROJECT", "\xCC\x61\xFF\xFF\x00\x00\x00"), stream(u"Empty", "")});
    vba.clsid = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    vba.stateBits = 0x11;
    vba.created = 0x0102030405060708ull;
    vba.modified = 0x1112131415161718ull;
    insertInNameOrder(file.root.children, std::move(vba));
    insertInNameOrder(file.root.children, stream(u"PROJECT", "ID=\"{}\"\r\n"));
    insertInNameOrder(file.root.children, stream(u"\x05SummaryInformation", pattern(4096, 's')));
    return file;
}

void expectSameEntry(const CompoundEntry& a, const CompoundEntry& b) {
    SCOPED_TRACE(a.displayName());
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.clsid, b.clsid);
    EXPECT_EQ(a.stateBits, b.stateBits);
    EXPECT_EQ(a.created, b.created);
    EXPECT_EQ(a.modified, b.modified);
    EXPECT_EQ(a.data, b.data);
    ASSERT_EQ(a.children.size(), b.children.size());
    for (std::size_t i = 0; i < a.children.size(); ++i) {
        expectSameEntry(a.children[i], b.children[i]);
    }
}

TEST(CompoundFile, WritesAndReadsBackEveryEntryInBothSectorSizes) {
    for (std::uint16_t version : {3, 4}) {
        SCOPED_TRACE(version);
        const CompoundFile file = sampleFile(version);
        const std::string bytes = writeCompoundFile(file);
        EXPECT_EQ(bytes.size() % (version == 4 ? 4096 : 512), 0u);
        const CompoundFile back = readCompoundFile(bytes);
        EXPECT_EQ(back.majorVersion, version);
        expectSameEntry(back.root, file.root);
        // Written again, the same bytes: nothing depends on the read.
        EXPECT_EQ(writeCompoundFile(back), bytes);
    }
}

TEST(CompoundFile, KeepsTheOrderOfNamesAndFindsThemWithoutLetterCase) {
    CompoundEntry root = storage(u"Root Entry", {stream(u"bb", "1"), stream(u"A", "2"),
                                                 stream(u"ab", "3"), stream(u"Ca", "4")});
    ASSERT_EQ(root.children.size(), 4u);
    EXPECT_EQ(root.children[0].name, u"A");
    EXPECT_EQ(root.children[1].name, u"ab");
    EXPECT_EQ(root.children[2].name, u"bb");
    EXPECT_EQ(root.children[3].name, u"Ca");
    ASSERT_NE(root.child(u"CA"), nullptr);
    EXPECT_EQ(root.child(u"CA")->data, "4");
    EXPECT_EQ(root.child(u"c"), nullptr);
}

// Many entries give a directory of many sectors and sibling trees of every
// size; a stream over 109 FAT sectors' reach needs DIFAT sectors.
TEST(CompoundFile, HoldsManyEntriesAndAFatBeyondTheHeader) {
    CompoundFile file;
    file.root = storage(u"Root Entry", {});
    for (int i = 0; i < 300; ++i) {
        insertInNameOrder(file.root.children,
                          stream(u"S" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                                     std::u16string(static_cast<std::size_t>(i / 26), u'x'),
                                 pattern(static_cast<std::size_t>(i * 37), 'a')));
    }
    insertInNameOrder(file.root.children, stream(u"Big", pattern(110 * 128 * 512, 'b')));
    const std::string bytes = writeCompoundFile(file);
    EXPECT_NE(readU32(bytes, 68), 0xFFFFFFFEu) << "a DIFAT sector";
    expectSameEntry(readCompoundFile(bytes).root, file.root);
}

// Where a named entry's 128 bytes begin in a written file.
std::size_t entryOffset(const std::string& bytes, std::u16string_view name) {
    std::string raw;
    for (char16_t c : name) {
        appendU16(raw, static_cast<std::uint16_t>(c));
    }
    raw += std::string(2, '\0');
    const std::size_t at = bytes.find(raw);
    EXPECT_NE(at, std::string::npos);
    return at;
}

std::uint32_t sectorOffset(std::uint32_t sector) {
    return (sector + 1) * 512;
}

TEST(CompoundFile, RefusesDamagedAndHostileFilesWithTheCause) {
    const std::string good = writeCompoundFile(sampleFile(3));
    const std::size_t module = entryOffset(good, u"Module1");
    const std::uint32_t moduleStart = readU32(good, module + 116);
    const std::size_t fat = sectorOffset(readU32(good, 76));
    const std::size_t root = entryOffset(good, u"Root Entry");
    const std::size_t vba = entryOffset(good, u"VBA");

    struct Case {
        const char* name;
        std::string bytes;
        const char* cause;
    };
    std::vector<Case> cases;
    auto patched = [&](std::size_t at, std::uint32_t value) {
        std::string b = good;
        storeU32(b, at, value);
        return b;
    };
    cases.push_back({"not a compound file", "PK\x03\x04" + good.substr(4), "signature"});
    cases.push_back({"cut inside the header", good.substr(0, 300), "signature"});
    cases.push_back({"unknown version", patched(26, 0x0005'003E), "version"});
    cases.push_back({"chain loops", patched(fat + 4 * moduleStart, moduleStart), "loops"});
    cases.push_back({"chain leaves the file", patched(fat + 4 * moduleStart, 5000), "5000"});
    cases.push_back({"stream larger than its chain", patched(module + 120, 0x7FFF0000), "claims"});
    cases.push_back({"huge FAT", patched(44, 0x00FFFFFF), "FAT sectors"});
    cases.push_back({"directory loops", patched(vba + 76, 0), "twice"});
    cases.push_back({"sibling out of range", patched(root + 76, 999), "999"});
    cases.push_back({"name too long", patched(module + 64, 90), "name length"});
    cases.push_back({"no name", patched(module + 64, 2), "name length"});
    cases.push_back({"cut short", good.substr(0, good.size() - 2048), "sector"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            readCompoundFile(c.bytes);
            ADD_FAILURE() << "read without complaint";
        } catch (const FormatError& e) {
            EXPECT_NE(std::string(e.what()).find(c.cause), std::string::npos) << e.what();
        }
    }
}

TEST(CompoundFile, RefusesToWriteANameTheFormatCannotHold) {
    CompoundFile file;
    file.root = storage(u"Root Entry", {stream(std::u16string(32, u'n'), "x")});
    EXPECT_THROW(writeCompoundFile(file), FormatError);
}

} // namespace
} // namespace faultward::office

#include "office/office_document.h"

#include <gtest/gtest.h>

#include "office/byte_order.h"
#include "office/compound_file.h"
#include "office/vba_compression.h"
#include "office/vba_fixtures.h"
#include "office/zip_builder.h"
#include "office/zip_package.h"
#include "support/split_mix.h"

namespace faultward::office {
namespace {

using Cause = DocumentRefusal::Cause;
using testing::fixture;
using testing::sampleProject;

std::string plainDoc() {
    return fixture("libreoffice_plain.doc");
}

// Every kind of document, by a name to show.
std::vector<std::pair<std::string, std::string>> documents() {
    return {
        {"LibreOffice's xlsm", fixture("libreoffice_book.xlsm")},
        {"LibreOffice's xls", fixture("libreoffice_book.xls")},
        {"docm", testing::wordPackage(sampleProject())},
        {"doc", testing::wordBinary(plainDoc(), sampleProject())},
    };
}

TEST(OfficeDocument, ReadsTheProjectsLibreOfficeWrites) {
    for (const char* name : {"libreoffice_book.xlsm", "libreoffice_book.xls"}) {
        SCOPED_TRACE(name);
        const VbaDocument doc = readVbaDocument(fixture(name));
        EXPECT_EQ(doc.projectLocation,
                  std::string(name).ends_with("xlsm") ? "xl/vbaProject.bin" : "_VBA_PROJECT_CUR");
        EXPECT_EQ(doc.project.name, "Standard");
        ASSERT_EQ(doc.project.modules.size(), 3u);
        EXPECT_EQ(doc.project.modules[0].name, "Module1");
        EXPECT_EQ(doc.project.modules[0].kind, ModuleKind::Procedural);
        EXPECT_EQ(doc.project.modules[2].name, "ThisWorkbook");
        EXPECT_EQ(doc.project.modules[2].kind, ModuleKind::Document);
        const std::string& long_ = doc.project.modules[0].source;
        EXPECT_GT(long_.size(), 8192u) << "three chunks";
        EXPECT_TRUE(long_.starts_with("Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\n"));
        EXPECT_TRUE(long_.ends_with("    Total = total ' caf\xE9\r\nEnd Function\r\n"));
        EXPECT_EQ(doc.project.modules[1].source, "Attribute VB_Name = \"Module2\"\r\nSub "
                                                 "Hello()\r\n    MsgBox \"Hello\"\r\nEnd Sub\r\n");
        EXPECT_FALSE(doc.isSigned());
        EXPECT_FALSE(doc.project.protection.lockedForViewing);
    }
}

TEST(OfficeDocument, WritesNewSourcesInEveryKindOfDocumentAndKeepsTheRest) {
    for (const auto& [name, original] : documents()) {
        SCOPED_TRACE(name);
        const VbaDocument before = readVbaDocument(original);
        const VbaModule& target = before.project.modules[1];
        const std::string newSource = target.source + "Sub Added() '~Faultward~\r\nEnd Sub\r\n";
        const WrittenDocument written = writeVbaDocument(original, {{{target.name, newSource}}});
        EXPECT_EQ(written.changedModules, 1u);
        const VbaDocument after = readVbaDocument(written.bytes);
        ASSERT_EQ(after.project.modules.size(), before.project.modules.size());
        for (std::size_t i = 0; i < before.project.modules.size(); ++i) {
            EXPECT_EQ(after.project.modules[i].source,
                      i == 1 ? newSource : before.project.modules[i].source);
        }
        // Written back as it was, each module gives its first source again.
        const WrittenDocument back =
            writeVbaDocument(written.bytes, {{{target.name, target.source}}});
        EXPECT_EQ(readVbaDocument(back.bytes).project.modules[1].source, target.source);
        // Nothing to change: the same bytes.
        EXPECT_EQ(writeVbaDocument(original, {{{target.name, target.source}}}).bytes, original);
    }
}

// Every stream but the project's own is as it was, in a binary document.
TEST(OfficeDocument, KeepsEveryOtherStreamOfABinaryDocument) {
    const std::string original = testing::wordBinary(plainDoc(), sampleProject());
    const WrittenDocument written =
        writeVbaDocument(original, {{{"Module2", "Attribute VB_Name = \"Module2\"\r\n"}}});
    const CompoundFile before = readCompoundFile(original);
    const CompoundFile after = readCompoundFile(written.bytes);
    ASSERT_EQ(after.root.children.size(), before.root.children.size());
    for (std::size_t i = 0; i < before.root.children.size(); ++i) {
        const CompoundEntry& was = before.root.children[i];
        const CompoundEntry& now = after.root.children[i];
        EXPECT_EQ(now.name, was.name);
        if (was.name != u"Macros") {
            EXPECT_EQ(now.data, was.data) << was.displayName();
        }
    }
    EXPECT_EQ(after.root.clsid, before.root.clsid);
    EXPECT_EQ(after.root.child(u"Macros")->child(u"PROJECT")->data,
              before.root.child(u"Macros")->child(u"PROJECT")->data);
}

TEST(OfficeDocument, RefusesALockedProjectAndASignedOneUnlessItsSignatureMayGo) {
    auto locked = sampleProject();
    locked.lockedForViewing = true;
    const std::string lockedDoc = testing::wordPackage(locked);
    EXPECT_TRUE(readVbaDocument(lockedDoc).project.protection.lockedForViewing);
    try {
        writeVbaDocument(lockedDoc, {{{"Module2", "x"}}});
        ADD_FAILURE() << "written";
    } catch (const DocumentRefusal& e) {
        EXPECT_EQ(e.cause(), Cause::LockedForViewing);
    }

    auto signedStream = sampleProject();
    signedStream.signatureStream = true;
    // A signature stream beside the project's storage, at the document's root.
    CompoundFile rootSigned = readCompoundFile(testing::wordBinary(plainDoc(), sampleProject()));
    CompoundEntry signature;
    signature.name = u"\x05"
                     u"DigitalSignatureEx";
    signature.data = "signed";
    insertInNameOrder(rootSigned.root.children, signature);
    for (const auto& [name, original] : std::vector<std::pair<std::string, std::string>>{
             {"signature part", testing::wordPackage(sampleProject(), true)},
             {"signature stream", testing::wordBinary(plainDoc(), signedStream)},
             {"signature at the root", writeCompoundFile(rootSigned)}}) {
        SCOPED_TRACE(name);
        const VbaDocument doc = readVbaDocument(original);
        ASSERT_TRUE(doc.isSigned());
        try {
            writeVbaDocument(original, {{{"Module2", "x"}}});
            ADD_FAILURE() << "written";
        } catch (const DocumentRefusal& e) {
            EXPECT_EQ(e.cause(), Cause::Signed);
            EXPECT_NE(std::string(e.what()).find(doc.signatures[0]), std::string::npos);
        }
        const WrittenDocument written = writeVbaDocument(original, {{{"Module2", "x"}}, true});
        EXPECT_EQ(written.droppedSignatures, doc.signatures);
        EXPECT_FALSE(readVbaDocument(written.bytes).isSigned());
    }
}

TEST(OfficeDocument, DropsASignaturePartWithItsContentTypeAndRelationship) {
    const std::string original = testing::wordPackage(sampleProject(), true);
    const std::string written = writeVbaDocument(original, {{{"Module2", "x"}}, true}).bytes;
    const ZipArchive before = readZipArchive(original);
    const ZipArchive after = readZipArchive(written);
    EXPECT_EQ(after.find("word/vbaProjectSignature.bin"), nullptr);
    EXPECT_EQ(after.find("word/_rels/vbaProject.bin.rels"), nullptr) << "it named nothing else";
    const std::string typesBefore = readZipEntry(original, *before.find("[Content_Types].xml"));
    const std::string typesAfter = readZipEntry(written, *after.find("[Content_Types].xml"));
    const std::string removed = "<Override PartName=\"/word/vbaProjectSignature.bin\" "
                                "ContentType=\"application/vnd.ms-office.vbaProjectSignature\"/>";
    const std::size_t at = typesBefore.find(removed);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(typesAfter, typesBefore.substr(0, at) + typesBefore.substr(at + removed.size()));
    ASSERT_EQ(after.entries.size(), before.entries.size() - 2);
    EXPECT_EQ(after.entries[2].name, "word/document.xml");
}

std::string compoundWith(std::vector<std::pair<std::u16string, std::string>> streams) {
    CompoundFile file;
    for (auto& [name, data] : streams) {
        CompoundEntry e;
        e.name = name;
        e.data = data;
        insertInNameOrder(file.root.children, std::move(e));
    }
    return writeCompoundFile(file);
}

TEST(OfficeDocument, SaysWhyADocumentIsRefused) {
    std::string encryptedWorkbook;
    appendU16(encryptedWorkbook, 0x0809);
    appendU16(encryptedWorkbook, 4);
    encryptedWorkbook += std::string("\x00\x06\x05\x00", 4);
    appendU16(encryptedWorkbook, 0x002F);
    appendU16(encryptedWorkbook, 2);
    encryptedWorkbook += std::string(2, '\0');
    std::string encryptedWord(64, '\0');
    encryptedWord[11] = 0x01;
    CompoundFile plain = readCompoundFile(plainDoc());
    std::string xlsx = testing::buildZip(
        {{"[Content_Types].xml",
          "<Types><Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>"},
         {"xl/workbook.xml", "<workbook/>"}});
    std::string damaged = testing::wordPackage(sampleProject());
    {
        CompoundFile project = readCompoundFile(testing::vbaProjectBin(sampleProject()));
        project.root.child(u"VBA")->child(u"Module1")->data.resize(310);
        damaged = rewriteZipArchive(damaged, readZipArchive(damaged),
                                    {{"word/vbaProject.bin", writeCompoundFile(project)}});
    }
    struct Case {
        const char* name;
        std::string bytes;
        Cause cause;
        const char* says;
    } cases[] = {
        {"text", "Sub A()\r\nEnd Sub\r\n", Cause::NotAnOfficeDocument, "not an Office document"},
        {"Access", std::string("\0\1\0\0Standard Jet DB\0", 20), Cause::FormatNotHandled, "Access"},
        {"PowerPoint", compoundWith({{u"PowerPoint Document", "x"}, {u"Current User", "y"}}),
         Cause::FormatNotHandled, "PowerPoint"},
        {"other compound file", compoundWith({{u"Contents", "x"}}), Cause::FormatNotHandled,
         "not an Excel or Word"},
        {"encrypted package", compoundWith({{u"EncryptionInfo", "x"}, {u"EncryptedPackage", "y"}}),
         Cause::Encrypted, "password"},
        {"encrypted workbook", compoundWith({{u"Workbook", encryptedWorkbook}}), Cause::Encrypted,
         "password"},
        {"encrypted Word document", compoundWith({{u"WordDocument", encryptedWord}}),
         Cause::Encrypted, "password"},
        {"Word document without macros", plainDoc(), Cause::NoVbaProject, "no VBA project"},
        {"package without a project", xlsx, Cause::NoVbaProject, "no VBA project"},
        {"damaged module", damaged, Cause::Unreadable, "module 'Module1'"},
        {"damaged package", fixture("libreoffice_book.xlsm").substr(0, 3000), Cause::Unreadable,
         "ZIP package"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            readVbaDocument(c.bytes);
            ADD_FAILURE() << "read without complaint";
        } catch (const DocumentRefusal& e) {
            EXPECT_EQ(e.cause(), c.cause) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

// Bytes changed at random: a refusal or a project, never a crash or a hang.
TEST(OfficeDocument, SurvivesDamageAnywhere) {
    ::faultward::testing::SplitMix64 random(2026);
    for (const auto& [name, original] : documents()) {
        SCOPED_TRACE(name);
        for (int round = 0; round < 150; ++round) {
            std::string bytes = original;
            const int changes = 1 + static_cast<int>(random.below(8));
            for (int i = 0; i < changes; ++i) {
                bytes[random.below(bytes.size())] = static_cast<char>(random.below(256));
            }
            try {
                readVbaDocument(bytes);
            } catch (const DocumentRefusal&) {
            }
        }
    }
}

} // namespace
} // namespace faultward::office

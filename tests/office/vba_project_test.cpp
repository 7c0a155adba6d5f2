#include "office/vba_project.h"

#include <gtest/gtest.h>

#include <map>

#include "office/format_error.h"
#include "office/vba_compression.h"
#include "office/vba_dir_stream.h"
#include "office/vba_fixtures.h"
#include "office/vba_project_stream.h"

namespace faultward::office {
namespace {

using testing::BuiltProject;
using testing::sampleProject;

TEST(VbaProjectStream, DecryptsProtectionValuesAsLibreOfficeWritesThem) {
    // Values LibreOffice wrote into a fixture's PROJECT stream: no
    // protection, no password, visible.
    EXPECT_EQ(decryptProjectValue("474553E7AF1B691F691F691F691F"), std::string(4, '\0'));
    EXPECT_EQ(decryptProjectValue("F6F4E2B61ECADDCBDDCBDD"), std::string(1, '\0'));
    EXPECT_EQ(decryptProjectValue("A8AABCBFBDBFBD40"), std::string(1, '\xFF'));
    EXPECT_EQ(decryptProjectValue("A8AABCBFBDBFBD"), std::nullopt) << "data cut short";
    EXPECT_EQ(decryptProjectValue("A9AABCBFBDBFBD40"), std::nullopt) << "another version";
    EXPECT_EQ(decryptProjectValue("A8AABCBFBDBFBDZZ"), std::nullopt) << "not hex";
    for (unsigned seed : {0u, 2u, 4u, 6u, 0xFFu}) {
        const std::string data = "\x01\x02\x03 protected";
        EXPECT_EQ(
            decryptProjectValue(encryptProjectValue(data, static_cast<unsigned char>(seed), 0x9D)),
            data);
    }
}

TEST(VbaProjectStream, GivesModuleKindsAndProtection) {
    const auto text = [](const std::string& gc, const std::string& dpb) {
        return "ID=\"{X}\"\r\nDocument=ThisWorkbook/"
               "&H00000000\r\nModule=Module1\r\nClass=Class1\r\n"
               "BaseClass=UserForm1\r\nPackage={AC9F2F90-E877-11CE-9F68-00AA00574A4F}\r\n"
               "Name=\"VBAProject\"\r\nDPB=\"" +
               dpb + "\"\r\nGC=\"" + gc + "\"\r\n\r\n[Workspace]\r\nModule=1, 2\r\n";
    };
    const ProjectStream open = parseProjectStream(
        text(encryptProjectValue("\xFF", 7, 1), encryptProjectValue(std::string(1, '\0'), 3, 1)));
    EXPECT_EQ(open.kinds.at("ThisWorkbook"), ModuleKind::Document);
    EXPECT_EQ(open.kinds.at("Module1"), ModuleKind::Procedural);
    EXPECT_EQ(open.kinds.at("Class1"), ModuleKind::Class);
    EXPECT_EQ(open.kinds.at("UserForm1"), ModuleKind::Designer);
    EXPECT_EQ(open.kinds.size(), 4u) << "the [Workspace] section names no modules";
    EXPECT_FALSE(open.protection.lockedForViewing);
    EXPECT_FALSE(open.protection.hasPassword);
    const ProjectStream locked =
        parseProjectStream(text(encryptProjectValue(std::string(1, '\0'), 7, 1),
                                encryptProjectValue(std::string(29, 'p'), 3, 1)));
    EXPECT_TRUE(locked.protection.lockedForViewing);
    EXPECT_TRUE(locked.protection.hasPassword);
    EXPECT_THROW(parseProjectStream(text("0102", "")), FormatError);
}

TEST(VbaDirStream, RefusesRecordsCutShortAndModulesWithoutTheirStream) {
    CompoundEntry storage = testing::projectStorage(sampleProject(), u"Root Entry");
    const std::string dir = decompressVba(storage.child(u"VBA")->child(u"dir")->data);
    const DirStream parsed = parseDirStream(dir);
    ASSERT_EQ(parsed.modules.size(), 4u);
    EXPECT_EQ(parsed.codePage, 1252);
    EXPECT_EQ(parsed.projectName, "VBAProject");
    EXPECT_EQ(parsed.modules[1].textOffset, 300u);
    EXPECT_EQ(parsed.modules[1].unicodeStreamName, u"Module1");
    EXPECT_FALSE(parsed.modules[3].procedural);
    EXPECT_THROW(parseDirStream(dir.substr(0, dir.size() / 2)), FormatError);
    // The count of modules says one more than there are.
    std::string miscounted = dir;
    const std::size_t count = miscounted.find(std::string("\x0F\x00\x02\x00\x00\x00", 6));
    miscounted[count + 6] = 5;
    EXPECT_THROW(parseDirStream(miscounted), FormatError);
    // Module1 named Module2, and then its stream too.
    std::string twice = dir;
    twice[twice.find("Module1") + 6] = '2';
    EXPECT_THROW(parseDirStream(twice), FormatError);
    std::string shared = dir;
    shared[shared.find(std::string("\x1A\x00\x07\x00\x00\x00Module1", 13)) + 12] = '2';
    EXPECT_THROW(parseDirStream(shared), FormatError);
    // Module1's stream name record renamed into an unknown one.
    std::string unnamed = dir;
    unnamed[unnamed.find(std::string("\x1A\x00\x07\x00\x00\x00Module1", 13))] = 0x7E;
    EXPECT_THROW(parseDirStream(unnamed), FormatError);
}

TEST(VbaProject, ReadsEveryModuleWhateverCompiledStateComesBeforeItsSource) {
    const BuiltProject built = sampleProject();
    const VbaProject project = readVbaProject(testing::projectStorage(built, u"Root Entry"));
    ASSERT_EQ(project.modules.size(), built.modules.size());
    for (std::size_t i = 0; i < built.modules.size(); ++i) {
        SCOPED_TRACE(built.modules[i].name);
        EXPECT_EQ(project.modules[i].name, built.modules[i].name);
        EXPECT_EQ(project.modules[i].kind, built.modules[i].kind);
        EXPECT_EQ(project.modules[i].source, built.modules[i].source());
    }
    EXPECT_EQ(project.name, "VBAProject");
    EXPECT_TRUE(project.signatureEntries.empty());
}

TEST(VbaProject, WritesChangedModulesAsTheFormatAsksOfAWriter) {
    const BuiltProject built = sampleProject();
    const CompoundEntry before = testing::projectStorage(built, u"Root Entry");
    CompoundEntry after = before;
    const std::string newSource = built.modules[1].source() + "Sub Added()\r\nEnd Sub\r\n";
    EXPECT_EQ(replaceModuleSources(
                  after, {{"Module1", newSource}, {"Module2", built.modules[2].source()}}),
              1u)
        << "Module2 is given its own source: not a change";
    const CompoundEntry& vba = *after.child(u"VBA");
    EXPECT_EQ(vba.child(u"Module1")->data, compressVba(newSource));
    EXPECT_EQ(vba.child(u"Module2")->data, before.child(u"VBA")->child(u"Module2")->data);
    EXPECT_EQ(vba.child(u"_VBA_PROJECT")->data, kVersionIndependentVbaProject);
    EXPECT_EQ(vba.child(u"__SRP_0"), nullptr);
    const DirStream dir = parseDirStream(decompressVba(vba.child(u"dir")->data));
    EXPECT_EQ(dir.modules[1].textOffset, 0u);
    EXPECT_EQ(dir.modules[2].textOffset, 40u);
    // Apart from the offset, the dir stream says what it said.
    std::string was = decompressVba(before.child(u"VBA")->child(u"dir")->data);
    std::string now = decompressVba(vba.child(u"dir")->data);
    now.replace(dir.modules[1].textOffsetAt, 4, was.substr(dir.modules[1].textOffsetAt, 4));
    EXPECT_EQ(now, was);
    EXPECT_EQ(after.child(u"PROJECT")->data, before.child(u"PROJECT")->data);
    EXPECT_EQ(readVbaProject(after).modules[1].source, newSource);

    CompoundEntry untouched = before;
    EXPECT_EQ(replaceModuleSources(untouched, {}), 0u);
    EXPECT_EQ(untouched.child(u"VBA")->child(u"__SRP_0")->data,
              before.child(u"VBA")->child(u"__SRP_0")->data);
    EXPECT_THROW(replaceModuleSources(untouched, {{"Nowhere", ""}}), FormatError);
}

// Many modules at once, compressed side by side: each stream gets its own
// source. The old sources come from the project as read when it is given,
// and are decompressed when it is not, or does not match the storage.
TEST(VbaProject, WritesManyModulesAtOnceEachIntoItsOwnStream) {
    BuiltProject built;
    for (int m = 0; m < 40; ++m) {
        std::string body;
        for (int line = 0; line < 200; ++line) {
            body += "    Total = Total + Cells(" + std::to_string(line * (m + 1)) + ", 2)\r\n";
        }
        built.modules.push_back({"Module" + std::to_string(m), ModuleKind::Procedural,
                                 "Sub Work" + std::to_string(m) + "()\r\n" + body + "End Sub\r\n",
                                 static_cast<std::size_t>(m % 3) * 10});
    }
    const CompoundEntry before = testing::projectStorage(built, u"Root Entry");
    const VbaProject read = readVbaProject(before);
    std::map<std::string, std::string> sources;
    for (std::size_t m = 0; m < built.modules.size(); ++m) {
        const std::string& source = read.modules[m].source;
        sources[read.modules[m].name] = m % 4 == 0 ? source : source + "' changed\r\n";
    }
    const VbaProject unrelated;
    for (const VbaProject* given : {&read, &unrelated, static_cast<const VbaProject*>(nullptr)}) {
        CompoundEntry after = before;
        EXPECT_EQ(replaceModuleSources(after, sources, given), 30u);
        const VbaProject now = readVbaProject(after);
        for (const VbaModule& module : now.modules) {
            EXPECT_EQ(module.source, sources.at(module.name)) << module.name;
        }
    }
}

TEST(VbaProject, RefusesAProjectThatCannotBeReadWhole) {
    const CompoundEntry good = testing::projectStorage(sampleProject(), u"Root Entry");
    auto fails = [](CompoundEntry storage, const char* cause) {
        try {
            readVbaProject(storage);
            ADD_FAILURE() << "read without complaint";
        } catch (const FormatError& e) {
            EXPECT_NE(std::string(e.what()).find(cause), std::string::npos) << e.what();
        }
    };
    CompoundEntry noStream = good;
    std::erase_if(noStream.child(u"VBA")->children,
                  [](const CompoundEntry& e) { return e.name == u"Module2"; });
    fails(noStream, "no stream 'Module2'");
    CompoundEntry badSource = good;
    badSource.child(u"VBA")->child(u"Class1")->data.resize(20);
    fails(badSource, "module 'Class1'");
    CompoundEntry shortStream = good;
    shortStream.child(u"VBA")->child(u"Module1")->data.resize(100);
    fails(shortStream, "byte 300");
    CompoundEntry badDir = good;
    badDir.child(u"VBA")->child(u"dir")->data = "\x01\x05\x30";
    fails(badDir, "dir stream");
    // Module2's stream named, in UTF-16, as Module1's: one stream for two.
    CompoundEntry shared = good;
    {
        CompoundEntry& dirStream = *shared.child(u"VBA")->child(u"dir");
        std::string dir = decompressVba(dirStream.data);
        std::string record("\x32\x00\x0E\x00\x00\x00", 6);
        for (char c : std::string_view("Module2")) {
            record += std::string{c, '\0'};
        }
        const std::size_t at = dir.find(record);
        ASSERT_NE(at, std::string::npos);
        dir[at + 18] = '1';
        dirStream.data = compressVba(dir);
    }
    fails(shared, "not its own");
    CompoundEntry noProject = good;
    std::erase_if(noProject.children, [](const CompoundEntry& e) { return e.name == u"PROJECT"; });
    fails(noProject, "PROJECT stream");
}

} // namespace
} // namespace faultward::office

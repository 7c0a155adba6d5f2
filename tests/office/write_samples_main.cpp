// Writes documents with changed VBA sources for the checks that read them
// with other programs (olefile, LibreOffice): for each case, the document
// written (CASE.EXT), the one it came from (CASE.original.EXT), each module's
// intended source (CASE.expected/MODULE) and the changed modules' names
// (CASE.changed). And compound files of the shapes documents rarely have
// (4096-byte sectors; a FAT past the header's reach, which needs DIFAT
// sectors), NAME.cfb, with each stream's bytes in NAME.streams/PATH (the
// path's separators as "__").

#include <filesystem>
#include <fstream>
#include <iostream>

#include "office/compound_file.h"
#include "office/office_document.h"
#include "office/vba_fixtures.h"
#include "platform/utf16.h"

namespace {

using namespace faultward::office;
namespace fs = std::filesystem;

std::string wtf8(const std::u16string& name) {
    return faultward::wtf8FromUtf16(name);
}

void save(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// A changed source: the module's own with a handler's marked lines and a
// line numbered, as the passes would leave it, and a character of code page
// 1252 beyond ASCII.
std::string changed(const std::string& source) {
    return source + "Sub Added()\r\n    On Error GoTo ErrHandler '~Faultward~\r\n"
                    "10  Debug.Print \"d\xE9j\xE0 vu\"\r\n    Exit Sub '~Faultward~\r\n"
                    "ErrHandler: '~Faultward~\r\n    MsgBox Erl '~Faultward~\r\nEnd Sub\r\n";
}

void writeCase(const fs::path& folder, const std::string& name, const std::string& extension,
               const std::string& original, std::vector<std::size_t> modules,
               bool dropSignature = false) {
    const VbaDocument before = readVbaDocument(original);
    SourceChanges changes;
    changes.dropSignature = dropSignature;
    for (std::size_t i : modules) {
        changes.sources[before.project.modules.at(i).name] =
            changed(before.project.modules.at(i).source);
    }
    const WrittenDocument written = writeVbaDocument(original, changes);
    save(folder / (name + extension), written.bytes);
    save(folder / (name + ".original" + extension), original);
    fs::create_directories(folder / (name + ".expected"));
    std::string list;
    for (const auto& m : before.project.modules) {
        const auto it = changes.sources.find(m.name);
        save(folder / (name + ".expected") / m.name,
             it != changes.sources.end() ? it->second : m.source);
        if (it != changes.sources.end()) {
            list += m.name + "\n";
        }
    }
    save(folder / (name + ".changed"), list);
}

CompoundEntry patternStream(std::u16string name, std::size_t size, int seed) {
    CompoundEntry e;
    e.name = std::move(name);
    e.data.resize(size);
    for (std::size_t i = 0; i < size; ++i) {
        e.data[i] =
            static_cast<char>((i * 31 + static_cast<std::size_t>(seed) * 7 + i / 509) & 0xFF);
    }
    return e;
}

void writeCompoundCase(const fs::path& folder, const std::string& name, std::uint16_t version,
                       std::size_t bigStream) {
    CompoundFile file;
    file.majorVersion = version;
    CompoundEntry storage;
    storage.name = u"Storage";
    storage.kind = CompoundEntry::Kind::Storage;
    storage.clsid[3] = 7;
    for (int i = 0; i < 40; ++i) {
        insertInNameOrder(
            storage.children,
            patternStream(u"Small" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                              std::u16string(static_cast<std::size_t>(i / 26), u'z'),
                          static_cast<std::size_t>(i) * 101, i));
    }
    insertInNameOrder(file.root.children, std::move(storage));
    insertInNameOrder(file.root.children, patternStream(u"Big", bigStream, 99));
    insertInNameOrder(file.root.children, patternStream(u"Edge", 4096, 5));
    const std::string bytes = writeCompoundFile(file);
    save(folder / (name + ".cfb"), bytes);
    const fs::path streams = folder / (name + ".streams");
    fs::create_directories(streams);
    const CompoundFile back = readCompoundFile(bytes);
    for (const auto& e : back.root.children) {
        if (!e.isStorage()) {
            save(streams / wtf8(e.name), e.data);
        }
        for (const auto& c : e.children) {
            save(streams / (wtf8(e.name) + "__" + wtf8(c.name)), c.data);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: office-write-samples FOLDER\n";
        return 2;
    }
    try {
        const fs::path folder = argv[1];
        fs::create_directories(folder);
        using testing::fixture;
        auto signedProject = testing::sampleProject();
        signedProject.signatureStream = true;
        writeCompoundCase(folder, "sectors4096", 4, 300000);
        writeCompoundCase(folder, "difat", 3, 110 * 128 * 512);
        writeCase(folder, "libreoffice_xlsm", ".xlsm", fixture("libreoffice_book.xlsm"), {0, 2});
        writeCase(folder, "libreoffice_xls", ".xls", fixture("libreoffice_book.xls"), {1, 2});
        writeCase(folder, "word_docm", ".docm", testing::wordPackage(testing::sampleProject()),
                  {0, 1, 3});
        writeCase(folder, "word_doc", ".doc",
                  testing::wordBinary(fixture("libreoffice_plain.doc"), testing::sampleProject()),
                  {0, 2, 3});
        writeCase(folder, "signed_docm", ".docm",
                  testing::wordPackage(testing::sampleProject(), true), {2}, true);
        writeCase(folder, "signed_doc", ".doc",
                  testing::wordBinary(fixture("libreoffice_plain.doc"), signedProject), {2}, true);
    } catch (const std::exception& e) {
        std::cerr << "office-write-samples: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

// Writes documents with changed VBA sources for the checks that read them
// with other programs (olefile, LibreOffice): for each case, the document
// written (CASE.EXT), the one it came from (CASE.original.EXT), each module's
// intended source (CASE.expected/MODULE) and the changed modules' names
// (CASE.changed).

#include <filesystem>
#include <fstream>
#include <iostream>

#include "office/office_document.h"
#include "office/vba_fixtures.h"

namespace {

using namespace faultward::office;
namespace fs = std::filesystem;

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

// Writes Office documents as faultward-cli leaves them, for the checks that
// read them with other programs (olefile, LibreOffice): for each case the
// document the command changed (CASE.EXT), the one it came from
// (CASE.original.EXT), each module's intended source (CASE.expected/MODULE)
// and the changed modules' names (CASE.changed). The source intended is what
// the same command leaves in a folder of the document's modules exported
// as the editor exports them, so the checks also find whether the document
// and its export come out the same.
//
//   faultward-document-samples FOLDER
//   faultward-document-samples --documents FOLDER   the tests' own documents,
//       as they are, for the Linux-against-Windows comparison
//   faultward-document-samples --large FOLDER   Large.docm, 200 modules of 300
//       lines, and its modules exported to Large.export, for bench/documents
#include "cli/cli.h"
#include "office/exported_modules.h"
#include "office/office_document.h"
#include "office/vba_fixtures.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

using namespace faultward;
using namespace faultward::office;
namespace fs = std::filesystem;

void save(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string load(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs faultward-cli in this process, with no settings but those given.
void runCommand(std::vector<std::string> args, const fs::path& target) {
    std::ostringstream out;
    std::ostringstream err;
    CliEnvironment env{out, err, false, fs::temp_directory_path()};
    args.insert(args.begin() + 1, "--no-settings");
    args.push_back(target.string());
    if (runCli(args, env) != ExitOk)
        throw std::runtime_error(args.front() + " " + target.string() + ": " + err.str());
}

testing::BuiltProject projectWithAForm() {
    testing::BuiltProject project = testing::sampleProject();
    project.modules.push_back({"UserForm1", ModuleKind::Designer,
                               "Private Sub UserForm_Click()\r\n    Beep\r\nEnd Sub\r\n", 0});
    return project;
}

// One case: the commands run in turn on the document and on its export.
void writeCase(const fs::path& folder, const std::string& name, const std::string& extension,
               const std::string& original, const std::vector<std::vector<std::string>>& commands) {
    const fs::path document = folder / (name + extension);
    save(folder / (name + ".original" + extension), original);
    save(document, original);
    const VbaProject before = readVbaDocument(original).project;
    const fs::path exported = folder / (name + ".export");
    testing::exportModules(before, exported);
    std::map<std::string, bool> changed;
    for (const std::vector<std::string>& command : commands) {
        runCommand(command, document);
        runCommand(command, exported);
        for (const VbaModule& module : readVbaDocument(load(document)).project.modules) {
            const auto was =
                std::find_if(before.modules.begin(), before.modules.end(),
                             [&](const VbaModule& m) { return m.name == module.name; });
            changed[module.name] = changed[module.name] || module.source != was->source;
        }
    }
    std::string list;
    for (const VbaModule& module : before.modules) {
        save(folder / (name + ".expected") / module.name,
             testing::withoutExportHeader(load(exported / testing::exportedName(module))));
        if (changed[module.name])
            list += module.name + "\n";
    }
    save(folder / (name + ".changed"), list);
}

void writeDocuments(const fs::path& folder) {
    testing::BuiltProject locked = testing::sampleProject();
    locked.lockedForViewing = true;
    save(folder / "Report.docm", testing::wordPackage(projectWithAForm()));
    save(folder / "Signed.docm", testing::wordPackage(testing::sampleProject(), true));
    save(folder / "Locked.docm", testing::wordPackage(locked));
}

// 200 modules of 300 lines, with Subs and Functions, some handling their
// own errors, as a large workbook's project.
void writeLarge(const fs::path& folder) {
    testing::BuiltProject project;
    for (int m = 0; m < 200; ++m) {
        std::string body;
        for (int line = 0; line < 300; ++line) {
            const int at = line % 25;
            if (at == 0)
                body += (line % 50 == 0 ? "Public Sub Proc" : "Private Function Calc") +
                        std::to_string(line) + (line % 50 == 0 ? "()\r\n" : "() As Long\r\n");
            else if (at == 24)
                body += line % 50 == 24 ? "End Sub\r\n" : "End Function\r\n";
            else if (at == 1 && line % 100 == 1)
                body += "    On Error Resume Next\r\n";
            else if (at % 6 == 0)
                body += "    ' running figures for the sheet\r\n";
            else
                body +=
                    "    Total = Total + Cells(" + std::to_string(line) + ", 2).Value * Rate\r\n";
        }
        project.modules.push_back({"Module" + std::to_string(m), ModuleKind::Procedural, body, 0});
    }
    const std::string document = testing::wordPackage(project);
    save(folder / "Large.docm", document);
    testing::exportModules(readVbaDocument(document).project, folder / "Large.export");
}

void writeCases(const fs::path& folder) {
    using testing::fixture;
    const std::vector<std::string> insert = {"insert",       "--kinds", "all",
                                             "--procedures", "all",     "--line-numbers"};
    const std::vector<std::string> remove = {"remove",         "--kinds",      "all",
                                             "--line-numbers", "--procedures", "all"};
    writeCase(folder, "insert_xlsm", ".xlsm", fixture("libreoffice_book.xlsm"), {insert});
    writeCase(folder, "insert_xls", ".xls", fixture("libreoffice_book.xls"), {insert});
    writeCase(folder, "insert_docm", ".docm", testing::wordPackage(projectWithAForm()), {insert});
    writeCase(folder, "insert_doc", ".doc",
              testing::wordBinary(fixture("libreoffice_plain.doc"), projectWithAForm()), {insert});
    // Insert then remove: every source as it was.
    writeCase(folder, "removed_xlsm", ".xlsm", fixture("libreoffice_book.xlsm"), {insert, remove});
    std::vector<std::string> dropping = insert;
    dropping.push_back("--drop-signature");
    writeCase(folder, "signed_docm", ".docm", testing::wordPackage(testing::sampleProject(), true),
              {dropping});
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args.size() > 2 ||
        (args.size() == 2 && args[0] != "--documents" && args[0] != "--large")) {
        std::cerr << "usage: faultward-document-samples [--documents | --large] FOLDER\n";
        return 2;
    }
    try {
        if (args.size() == 1)
            writeCases(args[0]);
        else if (args[0] == "--documents")
            writeDocuments(args[1]);
        else
            writeLarge(args[1]);
    } catch (const std::exception& e) {
        std::cerr << "faultward-document-samples: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

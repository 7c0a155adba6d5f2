// faultward-cli on Office documents: every command, and what it refuses.
#include "cli_run.h"
#include "office/exported_modules.h"
#include "office/office_document.h"
#include "office/vba_fixtures.h"
#include "office/zip_package.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

namespace fixtures = office::testing;

// Every module's source, by name.
std::map<std::string, std::string> sources(const fs::path& document) {
    std::map<std::string, std::string> found;
    for (const office::VbaModule& module :
         office::readVbaDocument(readFile(document)).project.modules)
        found[module.name] = module.source;
    return found;
}

// Every entry of a package but its VBA project, each record byte for byte, in order.
std::vector<std::string> otherParts(const fs::path& document) {
    const std::string bytes = readFile(document);
    std::vector<std::string> parts;
    for (const office::ZipEntry& entry : office::readZipArchive(bytes).entries)
        if (!entry.name.ends_with("vbaProject.bin"))
            parts.push_back(entry.name + ":" +
                            bytes.substr(entry.localOffset, entry.recordEnd - entry.localOffset));
    return parts;
}

class CliDocument : public ::testing::Test {
protected:
    CliRun run(std::vector<std::string> args) { return runIn(settings.path(), std::move(args)); }
    std::string book() const { return (folder / "Book.xlsm").string(); }
    TempFolder folder;
    TempFolder settings;
};

// Insert then remove gives back every module's source, and every other part
// of the package is never touched.
TEST_F(CliDocument, everyCommandWorksOnItsModules_insertThenRemoveGivesBackEverySource) {
    folder.write("Book.xlsm", fixtures::fixture("libreoffice_book.xlsm"));
    const auto before = sources(book());
    const auto parts = otherParts(book());
    EXPECT_EQ(run({"list", "--kinds", "all", book()}).out,
              "Module1.bas\nModule2.bas\nThisWorkbook.cls\n");
    EXPECT_EQ(run({"list", "--kinds", "document", book()}).out, "ThisWorkbook.cls\n");

    const CliRun inserted = run({"insert", "--kinds", "all", "--procedures", "all", book()});
    EXPECT_EQ(inserted.status, ExitOk) << inserted.err;
    auto after = sources(book());
    EXPECT_NE(after.at("Module1"), before.at("Module1"));
    EXPECT_NE(after.at("ThisWorkbook").find("Private Sub Workbook_Open()\r\nON ERROR GOTO"),
              std::string::npos);
    EXPECT_EQ(otherParts(book()), parts);
    const CliRun checked = run({"check", "--kinds", "all", "--clean", book()});
    EXPECT_EQ(checked.status, ExitSomeFilesFailed);
    EXPECT_NE(checked.out.find("ThisWorkbook.cls: 1 procedure, 0 without a trap"),
              std::string::npos)
        << checked.out;

    EXPECT_EQ(run({"number", "--kinds", "all", "--procedures", "all", book()}).status, ExitOk);
    EXPECT_EQ(
        run({"remove", "--kinds", "all", "--line-numbers", "--procedures", "all", book()}).status,
        ExitOk);
    EXPECT_EQ(sources(book()), before);
    EXPECT_EQ(otherParts(book()), parts);
    EXPECT_EQ(run({"check", "--kinds", "all", "--clean", book()}).status, ExitOk);
}

TEST_F(CliDocument, itsSettingsAreBesideItAndNameModulesByTheirNames) {
    folder.write("Book.xls", fixtures::fixture("libreoffice_book.xls"));
    const std::string xls = (folder / "Book.xls").string();
    const CliRun init = run({"init", "--kinds", "module,document", xls});
    EXPECT_EQ(init.status, ExitOk) << init.err;
    EXPECT_EQ(init.out, xls + ".faultward\n");
    folder.write("Book.xls.faultward", readFile(folder / "Book.xls.faultward") +
                                           "[Leave]\r\nThisWorkbook:*\r\nModule1\r\n");
    const auto before = sources(xls);
    EXPECT_EQ(run({"insert", xls}).status, ExitOk);
    const auto after = sources(xls);
    EXPECT_EQ(after.at("ThisWorkbook"), before.at("ThisWorkbook"));
    EXPECT_EQ(after.at("Module1"), before.at("Module1"));
    EXPECT_NE(after.at("Module2"), before.at("Module2"));
}

TEST_F(CliDocument, aDryRunShowsPathsInTheDocument_outputCopiesItAndItsSettings) {
    folder.write("Book.xlsm", fixtures::fixture("libreoffice_book.xlsm"));
    folder.write("Book.xlsm.faultward", "[Handler]\r\nFiles=bas\r\n");
    const std::string original = readFile(book());
    const CliRun dry = run({"insert", "--dry-run", "--diff", book()});
    EXPECT_EQ(dry.status, ExitOk) << dry.err;
    EXPECT_NE(dry.out.find("--- a/Book.xlsm/Module2.bas\n+++ b/Book.xlsm/Module2.bas\n"),
              std::string::npos)
        << dry.out;
    EXPECT_EQ(readFile(book()), original);

    const TempFolder out;
    const CliRun copied = run({"insert", "--output", (out / "release").string(), book()});
    EXPECT_EQ(copied.status, ExitOk) << copied.err;
    EXPECT_EQ(copied.out, (out / "release" / "Book.xlsm").string() + "\n");
    EXPECT_EQ(readFile(book()), original);
    EXPECT_EQ(readFile(out / "release" / "Book.xlsm.faultward"), "[Handler]\r\nFiles=bas\r\n");
    EXPECT_NE(sources(out / "release" / "Book.xlsm").at("Module2"), sources(book()).at("Module2"));
}

// A workbook and the folder its modules were exported to come out the same
// from the same commands, module by module.
TEST_F(CliDocument, aDocumentAndItsExportedModulesComeOutTheSame) {
    fixtures::BuiltProject project = fixtures::sampleProject();
    project.modules.push_back({"UserForm1", office::ModuleKind::Designer,
                               "Private Sub UserForm_Click()\r\n    Beep\r\nEnd Sub\r\n", 0});
    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{
                                          "Book.xlsm", fixtures::fixture("libreoffice_book.xlsm")},
                                      {"Report.docm", fixtures::wordPackage(project)}}) {
        SCOPED_TRACE(name);
        const fs::path document = folder.write(name, bytes);
        const fs::path exported = folder / (name + ".export");
        const office::VbaProject modules = office::readVbaDocument(bytes).project;
        fixtures::exportModules(modules, exported);
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"insert", "--kinds", "all", "--mode", "2"},
              {"number", "--kinds", "all", "--procedures", "all"},
              {"insert", "--kinds", "module,form", "--skip-handled", "--line-numbers"}}) {
            for (const fs::path& target : {document, exported}) {
                std::vector<std::string> args = command;
                args.push_back(target.string());
                EXPECT_EQ(run(args).status, ExitOk) << command[0] << " " << target;
            }
            const auto written = sources(document);
            for (const office::VbaModule& module : modules.modules)
                EXPECT_EQ(written.at(module.name), fixtures::withoutExportHeader(readFile(
                                                       exported / fixtures::exportedName(module))))
                    << command[0] << " " << module.name;
        }
    }
}

// A template's {project} is the VBA project's name, {file} the document's.
TEST_F(CliDocument, aTemplateNamesTheVbaProjectAndTheDocument) {
    folder.write("Report.docm", fixtures::wordPackage(fixtures::sampleProject()));
    const fs::path tmpl = settings.write(
        "t.txt", crlf({"[trap]", "On Error GoTo E", "[handler]",
                       "E:", "    Debug.Print \"{project} {file} {module}.{procedure}\""}));
    const CliRun inserted =
        run({"insert", "--template", tmpl.string(), (folder / "Report.docm").string()});
    EXPECT_EQ(inserted.status, ExitOk) << inserted.err;
    EXPECT_NE(sources(folder / "Report.docm")
                  .at("Module2")
                  .find("Debug.Print \"VBAProject Report.docm Module2.Hello\""),
              std::string::npos);
}

// A signed project is changed only without its signature, and says so;
// nothing is written without the word.
TEST_F(CliDocument, aSignedProjectNeedsDropSignature_whichNamesWhatItRemoved) {
    const std::string original = fixtures::wordPackage(fixtures::sampleProject(), true);
    const fs::path docm = folder.write("Signed.docm", original);
    const CliRun refused = run({"insert", docm.string()});
    EXPECT_EQ(refused.status, ExitUsage);
    EXPECT_EQ(refused.err, "faultward-cli: " + docm.string() +
                               ": the VBA project is signed (word/vbaProjectSignature.bin), and a "
                               "change would break its signature; nothing was written, "
                               "--drop-signature writes it without the signature\n");
    EXPECT_EQ(readFile(docm), original);
    EXPECT_EQ(run({"check", docm.string()}).status, ExitOk) << "reading needs no word";
    EXPECT_EQ(run({"insert", "--dry-run", docm.string()}).status, ExitOk);

    const CliRun dropped = run({"insert", "--drop-signature", docm.string()});
    EXPECT_EQ(dropped.status, ExitOk) << dropped.err;
    EXPECT_NE(dropped.err.find("The signature of the VBA project in " + docm.string() +
                               " was removed: word/vbaProjectSignature.bin."),
              std::string::npos)
        << dropped.err;
    EXPECT_FALSE(office::readVbaDocument(readFile(docm)).isSigned());
}

// The modules were worked on, but the document cannot take them: it is left
// whole, and the command says why and fails.
TEST_F(CliDocument, aDocumentThatCannotBeWrittenIsLeftAsItWasAndNamed) {
    folder.write("Book.xlsm", fixtures::fixture("libreoffice_book.xlsm"));
    const std::string original = readFile(book());
    fs::permissions(book(), fs::perms::owner_read);
    const CliRun refused = run({"insert", book()});
    fs::permissions(book(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(refused.status, ExitSomeFilesFailed);
    EXPECT_EQ(refused.err, "faultward-cli: The document " + book() +
                               " was not written: not writable. It is as it was.\n");
    EXPECT_EQ(readFile(book()), original);
    EXPECT_EQ(treeOf(folder.path()).size(), 1u) << "no temporary is left beside it";
}

TEST_F(CliDocument, whatCannotBeWorkedOnIsRefusedByNameAndNothingIsWritten) {
    fixtures::BuiltProject locked = fixtures::sampleProject();
    locked.lockedForViewing = true;
    const fs::path lockedDocm = folder.write("Locked.docm", fixtures::wordPackage(locked));
    folder.write("Data.accdb", std::string("\0\1\0\0Standard ACE DB\0", 20));
    folder.write("Old.ppt", "");
    const auto before = treeOf(folder.path());
    const std::pair<std::string, std::string> cases[] = {
        {lockedDocm.string(), "the VBA project is locked for viewing"},
        {(folder / "Data.accdb").string(), "an Access database is not handled"},
        {(folder / "Old.ppt").string(),
         "not an Office document (neither a ZIP package nor a compound file)"},
    };
    for (const auto& [document, says] : cases) {
        for (const char* command : {"list", "insert"}) {
            const CliRun refused = run({command, document});
            EXPECT_EQ(refused.status, ExitUsage) << document;
            EXPECT_EQ(refused.err, "faultward-cli: The document " + document +
                                       " cannot be worked on: " + says + ".\n");
        }
    }
    EXPECT_EQ(treeOf(folder.path()), before);
    const fs::path group = folder.write("All.vbg", "Project=Locked.docm\r\n");
    EXPECT_NE(run({"list", group.string()}).err.find("a group can only name Visual Basic projects"),
              std::string::npos);
}

} // namespace
} // namespace faultward

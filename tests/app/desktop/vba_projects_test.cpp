// The desktop program's core over VBA projects: a folder of exported modules
// and Office documents.
#include "app/desktop/menus.h"
#include "fake_desktop.h"
#include "office/office_document.h"
#include "office/vba_fixtures.h"

#include <gtest/gtest.h>

namespace faultward::coretest {
namespace {

namespace fs = std::filesystem;
namespace fixtures = office::testing;

std::string moduleSource(const fs::path& document, std::string_view name) {
    for (const office::VbaModule& module :
         office::readVbaDocument(readFile(document)).project.modules)
        if (module.name == name)
            return module.source;
    return {};
}

class VbaProjects : public ::testing::Test {
protected:
    fs::path openDocument(std::string_view name, const std::string& bytes) {
        const fs::path document = folder.write(name, bytes);
        program.desktop.dialogAnswers.push_back(document.string());
        program.main.cmd_nav(Command::Open);
        return document;
    }

    TempFolder folder;
    KeptCurrentFolder keptFolder;
    CoreProgram program;
};

// Open Folder lists the folder's modules as Open lists a project's files;
// its choices are kept in the folder, and the commands work on its files.
TEST_F(VbaProjects, openFolderListsItsModulesKeepsItsChoicesInItAndWorksOnThem) {
    const fs::path modules = folder / "Export";
    folder.write("Export/Module1.bas", "Attribute VB_Name = \"Module1\"\r\n" + kOneSubSource);
    folder.write("Export/Form1.frm", kOneSubSource);
    folder.write("Export/Class1.cls", kOneSubSource);
    folder.write("Export/Old/Module2.bas", kOneSubSource);
    program.module.setProjectFile((folder / "Before.vbp").string());
    program.desktop.dialogAnswers.push_back(modules.string());
    program.main.cmd_nav(Command::OpenFolder);
    ASSERT_EQ(program.desktop.dialogRequests.size(), 1u);
    EXPECT_EQ(program.desktop.dialogRequests[0].fileName, (folder / "Before.vbp").string());
    EXPECT_EQ(program.module.Project_File(), modules.string());
    EXPECT_EQ(fs::current_path(), modules);
    EXPECT_EQ(
        program.desktop.only({"folder dialog", "entries", "label", "focus"}),
        (std::vector<std::string>{"folder dialog", "entries", "entries Form1.frm- Module1.bas-",
                                  "label " + modules.string(), "focus list"}));

    program.files.expandEntry(1);
    program.files.setProcedureSelected(1, 0, false);
    EXPECT_EQ(readFile(modules / ".faultward").substr(readFile(modules / ".faultward").find('[')),
              "[Leave]\r\nModule1.bas:A\r\n");
    program.files.setProcedureSelected(1, 0, true);
    program.main.cmd_nav(Command::Insert);
    EXPECT_NE(readFile(modules / "Module1.bas"),
              "Attribute VB_Name = \"Module1\"\r\n" + kOneSubSource);
    EXPECT_EQ(readFile(modules / "Old/Module2.bas"), kOneSubSource);
    EXPECT_TRUE(program.desktop.messages.empty());

    // The File menu offers it beside Open.
    EXPECT_EQ(std::string(kFileItems[1].caption), "Open &Folder of Modules...");
    EXPECT_EQ(kFileItems[1].index, commandNumber(Command::OpenFolder));
}

// Open lists a document's modules; the tree, Preview, Check and Insert work
// on them, and Insert writes the document once.
TEST_F(VbaProjects, openDocumentListsItsModulesAndEveryCommandWorksOnThem) {
    const fs::path book = openDocument("Book.xlsm", fixtures::fixture("libreoffice_book.xlsm"));
    EXPECT_EQ(program.desktop.only({"entries", "label"}),
              (std::vector<std::string>{"entries", "entries Module1.bas- Module2.bas-",
                                        "label " + book.string()}));
    program.files.expandEntry(1);
    EXPECT_EQ(program.desktop.procedures[1],
              (std::vector<ProcedureRow>{{"Sub Hello", "no handler", true}}));

    program.desktop.onReport = [](ReportWindow&) {};
    program.main.cmd_nav(Command::Preview);
    ASSERT_EQ(program.desktop.reports.size(), 1u);
    EXPECT_NE(program.desktop.reports[0].find("--- a/Book.xlsm/Module2.bas"), std::string::npos)
        << program.desktop.reports[0];
    const std::string before = moduleSource(book, "Module2");

    program.main.cmd_nav(Command::Insert);
    EXPECT_TRUE(program.desktop.messages.empty()) << program.desktop.messages.front();
    EXPECT_NE(moduleSource(book, "Module2"), before);
    EXPECT_EQ(program.desktop.procedures[1],
              (std::vector<ProcedureRow>{{"Sub Hello", "has a handler", true}}));
    program.main.cmd_nav(Command::Check);
    EXPECT_NE(program.desktop.reports.back().find("Module2.bas: 1 procedure, 0 without a trap"),
              std::string::npos)
        << program.desktop.reports.back();
}

// A signed project loses its signature only with the user's Yes, and is told so.
TEST_F(VbaProjects, aSignedDocumentIsWrittenWithoutItsSignatureOnlyWhenTheUserSaysSo) {
    const std::string original = fixtures::wordPackage(fixtures::sampleProject(), true);
    const fs::path docm = openDocument("Signed.docm", original);
    program.main.cmd_nav(Command::Insert);
    ASSERT_EQ(program.desktop.questions.size(), 1u);
    EXPECT_EQ(program.desktop.questions[0],
              "In " + docm.string() +
                  ", the VBA project is signed (word/vbaProjectSignature.bin), and a change "
                  "would break its signature.\n\nWrite it without its signature? No changes "
                  "nothing.");
    EXPECT_EQ(readFile(docm), original);

    program.desktop.questionAnswers.push_back(true);
    program.main.cmd_nav(Command::Insert);
    EXPECT_FALSE(office::readVbaDocument(readFile(docm)).isSigned());
    ASSERT_EQ(program.desktop.messages.size(), 1u);
    EXPECT_EQ(program.desktop.messages[0], "The signature of the VBA project in " + docm.string() +
                                               " was removed: word/vbaProjectSignature.bin.");
}

TEST_F(VbaProjects, aDocumentThatCannotBeWorkedOnOrWrittenIsNamedWithTheCause) {
    fixtures::BuiltProject locked = fixtures::sampleProject();
    locked.lockedForViewing = true;
    const fs::path lockedDocm = openDocument("Locked.docm", fixtures::wordPackage(locked));
    EXPECT_TRUE(program.files.entries().empty());
    ASSERT_EQ(program.desktop.messages.size(), 1u);
    EXPECT_EQ(program.desktop.messages[0], "The document " + lockedDocm.string() +
                                               " cannot be worked on: the VBA project is "
                                               "locked for viewing.");

    const fs::path book = openDocument("Book.xlsm", fixtures::fixture("libreoffice_book.xlsm"));
    const std::string original = readFile(book);
    fs::permissions(book, fs::perms::owner_read);
    program.main.cmd_nav(Command::Insert);
    fs::permissions(book, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readFile(book), original);
    EXPECT_EQ(program.desktop.messages.back(),
              "The document " + book.string() + " was not written: not writable. It is as it was.");
}

} // namespace
} // namespace faultward::coretest

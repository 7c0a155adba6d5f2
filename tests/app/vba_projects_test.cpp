// The desktop program's core over VBA projects: a folder of exported modules.
#include "app/menus.h"
#include "fake_desktop.h"

#include <gtest/gtest.h>

namespace faultward::coretest {
namespace {

namespace fs = std::filesystem;

class VbaProjects : public ::testing::Test {
protected:
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
              systemLines("[Leave]\nModule1.bas:A\n"));
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

} // namespace
} // namespace faultward::coretest

#include "project/file_list.h"
#include "project/group_reader.h"
#include "project/module_folder.h"
#include "project/project_folder.h"
#include "project/project_shape.h"
#include "project/release_copy.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

const std::string kDocumentClass =
    crlf({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END",
          "Attribute VB_Name = \"ThisWorkbook\"",
          "Attribute VB_Base = \"0{00020819-0000-0000-C000-000000000046}\"",
          "Attribute VB_GlobalNameSpace = False", "Sub Workbook_Open()", "End Sub"});
const std::string kClass =
    crlf({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END",
          "Attribute VB_Name = \"Class1\"", "Attribute VB_GlobalNameSpace = False",
          "' Attribute VB_Base is only a comment here", "Sub Go()", "End Sub"});
const std::string kUserForm =
    crlf({"VERSION 5.00", "Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} UserForm1",
          "   Caption         =   \"UserForm1\"", "   OleObjectBlob   =   \"UserForm1.frx\":0000",
          "End", "Attribute VB_Name = \"UserForm1\"",
          "Attribute VB_Base = \"0{5A2A2A8E-1E34-4C8E-9E2F-1C3B5E6F7A8B}{00000000-0000}\"",
          "Private Sub UserForm_Click()", "End Sub"});

// An export as the editor writes it, with what else such a folder holds.
void writeExport(const TempFolder& folder) {
    folder.write("Module1.bas", "Attribute VB_Name = \"Module1\"\r\n" + kOneSubSource);
    folder.write("Class1.cls", kClass);
    folder.write("ThisWorkbook.cls", kDocumentClass);
    folder.write("UserForm1.frm", kUserForm);
    folder.write("UserForm1.frx", std::string("\0\x01\x02", 3));
    folder.write("Upper.BAS", kOneSubSource);
    folder.write("notes.txt", "not a module");
    folder.write("older/Module2.bas", kOneSubSource);
    fs::create_directory(folder / "Folder.bas");
}

std::vector<std::string> listed(const fs::path& folder, SourceKinds kinds) {
    const ModuleFolderRead read = readModuleFolder(folder, kinds);
    EXPECT_EQ(read.status, ReadStatus::Ok);
    std::vector<std::string> seen;
    for (const ListEntry& entry : sortedListEntries(read.entries))
        seen.push_back(entry.text + "=" + std::to_string(static_cast<int>(entry.kind)));
    return seen;
}

TEST(ModuleFolder, itsOwnModulesClassesAndFormsInNameOrder_documentModulesByTheirBase) {
    const TempFolder folder;
    writeExport(folder);
    EXPECT_EQ(listed(folder.path(), kAllSourceKinds),
              (std::vector<std::string>{"Class1.cls=4", "Module1.bas=2", "ThisWorkbook.cls=4",
                                        "Upper.BAS=2", "UserForm1.frm=1"}));
    // Only a choice between the two reads the classes to tell them apart.
    EXPECT_EQ(listed(folder.path(), SourceKind::Document),
              (std::vector<std::string>{"ThisWorkbook.cls=16"}));
    EXPECT_EQ(listed(folder.path(), {SourceKind::Class, SourceKind::Form}),
              (std::vector<std::string>{"Class1.cls=4", "UserForm1.frm=1"}));
    EXPECT_EQ(listed(folder.path(), kDefaultSourceKinds),
              (std::vector<std::string>{"Module1.bas=2", "Upper.BAS=2", "UserForm1.frm=1"}));

    EXPECT_TRUE(isDocumentModule(kDocumentClass));
    EXPECT_TRUE(
        isDocumentModule("Attribute VB_Name = \"Sheet1\"\r\nAttribute VB_Base = \"0\"\r\n"));
    EXPECT_FALSE(isDocumentModule(kClass));
    EXPECT_FALSE(isDocumentModule(kOneSubSource));

    EXPECT_EQ(readModuleFolder(folder / "gone", kAllSourceKinds).status, ReadStatus::NotFound);
    EXPECT_EQ(readModuleFolder(folder / "notes.txt", kAllSourceKinds).status,
              ReadStatus::NotRegularFile);
}

TEST(ModuleFolder, isAProjectOfItsOwn_heldByItselfWithItsSettingsInside) {
    const TempFolder folder;
    writeExport(folder);
    const fs::path book = folder.write("Book.XLSM", "");
    const fs::path vbp = folder.write("App.vbp", "");
    EXPECT_EQ(projectShapeOf(folder.path()), ProjectShape::ModuleFolder);
    EXPECT_EQ(projectShapeOf(book), ProjectShape::Document);
    EXPECT_EQ(projectShapeOf(folder / "Old.doc"), ProjectShape::Document);
    EXPECT_EQ(projectShapeOf(folder / "Data.accdb"), ProjectShape::Document);
    EXPECT_EQ(projectShapeOf(vbp), ProjectShape::ProjectFile);
    EXPECT_EQ(projectShapeOf(folder / "All.vbg"), ProjectShape::GroupFile);

    EXPECT_EQ(projectSettingsPath(folder.path()), folder / ".faultward");
    EXPECT_EQ(projectSettingsPath(book), folder / "Book.XLSM.faultward");
    EXPECT_EQ(projectSettingsPath(vbp), folder / "App.faultward");
    EXPECT_EQ(holdingFolder(folder.path()), folder.path());
    EXPECT_EQ(holdingFolder(book), folder.path());
    EXPECT_EQ(ProjectFolder(folder.path()).place(folder / "Module1.bas")->place,
              ProjectFolder::Place::Inside);
    EXPECT_EQ(ProjectFolder(folder.path()).place(folder / "../elsewhere.bas"), std::nullopt);
    EXPECT_EQ(moduleFolderName(folder.path() / ""), folder.path().filename().string());
    EXPECT_EQ(holdingFolder(folder.path() / "."), folder.path());
    EXPECT_EQ(holdingFolder(folder.path() / ""), folder.path());
}

TEST(ModuleFolder, groupsNameVisualBasicProjectsOnly) {
    const TempFolder folder;
    writeExport(folder);
    const fs::path group = folder.write("All.vbg", "");
    folder.write("Book.xlsm", "");
    EXPECT_EQ(groupMembers(group, crlf({"Project=older"}), "All.vbg").problem,
              "the group file All.vbg names the folder older; a group can only name Visual "
              "Basic projects (.vbp)");
    EXPECT_EQ(groupMembers(group, crlf({"Project=Book.xlsm"}), "All.vbg").problem,
              "the group file All.vbg names the document Book.xlsm; a group can only name "
              "Visual Basic projects (.vbp)");
}

TEST(ModuleFolder, copyTakesItsModulesCompanionsAndSettingsButNotTheFolderAbove) {
    const TempFolder folder;
    writeExport(folder);
    folder.write(".faultward", "[Leave]\r\nModule1\r\n");
    std::vector<std::string> files;
    for (const ProjectEntry& entry : readModuleFolder(folder.path(), kAllSourceKinds).entries)
        files.push_back(entry.text);
    std::string error;
    const std::optional<CopyPlan> plan =
        planReleaseCopy(folder.path(), {{folder.path(), {}, {}, files}},
                        {projectSettingsPath(folder.path())}, error);
    ASSERT_TRUE(plan) << error;
    EXPECT_EQ(plan->root, folder.path());
    EXPECT_TRUE(plan->outside.empty());
    const TempFolder output;
    EXPECT_EQ(placeInCopy(*plan, output / "out", folder.path()), output / "out");
    ASSERT_TRUE(copyFiles(*plan, output / "out").empty());
    std::vector<std::string> copied;
    for (const auto& [name, bytes] : treeOf(output / "out"))
        copied.push_back(name);
    EXPECT_EQ(copied, (std::vector<std::string>{".faultward", "Class1.cls", "Module1.bas",
                                                "ThisWorkbook.cls", "Upper.BAS", "UserForm1.frm",
                                                "UserForm1.frx"}));
}

} // namespace
} // namespace faultward

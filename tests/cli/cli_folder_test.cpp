// faultward-cli on a folder of modules exported from a VBA project.
#include "cli_run.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

const std::string kModule = crlf({"Attribute VB_Name = \"Module1\"", "Sub Save()", "    Beep",
                                  "End Sub", "Sub Load()", "End Sub"});
const std::string kSheet = crlf({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END",
                                 "Attribute VB_Name = \"Sheet1\"",
                                 "Attribute VB_Base = \"0{00020820-0000-0000-C000-000000000046}\"",
                                 "Private Sub Worksheet_Activate()", "End Sub"});
// Its designer block holds lines the passes must not take for code.
const std::string kForm =
    crlf({"VERSION 5.00", "Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} UserForm1",
          "   Caption         =   \"Sub Main()\"", "   OleObjectBlob   =   \"UserForm1.frx\":0000",
          "End", "Attribute VB_Name = \"UserForm1\"", "Private Sub UserForm_Click()", "End Sub"});

class CliFolder : public ::testing::Test {
protected:
    CliFolder() {
        modules.write("Module1.bas", kModule);
        modules.write("Sheet1.cls", kSheet);
        modules.write("UserForm1.frm", kForm);
        modules.write("UserForm1.frx", std::string("\0\x01", 2));
        modules.write("backup/Module1.bas", kModule);
    }
    CliRun run(std::vector<std::string> args) { return runIn(settings.path(), std::move(args)); }
    std::string folder() const { return modules.path().string(); }
    TempFolder modules;
    TempFolder settings;
};

TEST_F(CliFolder, everyCommandWorksOnItsOwnModulesAndRemoveGivesBackEveryByte) {
    const auto before = treeOf(modules.path());
    EXPECT_EQ(run({"list", "--kinds", "all", folder()}).out,
              "Module1.bas\nSheet1.cls\nUserForm1.frm\n");
    EXPECT_EQ(run({"list", "--kinds", "document", folder()}).out, "Sheet1.cls\n");
    EXPECT_EQ(run({"list", "--kinds", "class", folder()}).out, "");

    const CliRun inserted = run({"insert", "--kinds", "all", folder()});
    EXPECT_EQ(inserted.status, ExitOk) << inserted.err;
    // The form is a form: its designer block stays, its trap directly after the head.
    const std::string form = readFile(modules / "UserForm1.frm");
    EXPECT_TRUE(form.starts_with(kForm.substr(0, kForm.find("Private Sub"))));
    EXPECT_NE(form.find("Private Sub UserForm_Click()\r\nON ERROR GOTO"), std::string::npos);
    EXPECT_NE(readFile(modules / "Sheet1.cls").find("'~Faultward~"), std::string::npos);
    EXPECT_EQ(readFile(modules / "backup/Module1.bas"), kModule) << "sub-folders are not its";

    EXPECT_EQ(run({"check", "--kinds", "all", folder()}).out.substr(0, 12), "Module1.bas:");
    EXPECT_EQ(run({"number", "--kinds", "all", folder()}).status, ExitOk);
    EXPECT_EQ(run({"remove", "--kinds", "all", "--line-numbers", folder()}).status, ExitOk);
    EXPECT_EQ(treeOf(modules.path()), before);
}

TEST_F(CliFolder, itsSettingsAreInItAndALeaveItemNamesAModule) {
    const CliRun init = run({"init", "--mode", "1", folder()});
    EXPECT_EQ(init.status, ExitOk) << init.err;
    EXPECT_EQ(init.out, (modules / ".faultward").string() + "\n");
    modules.write(".faultward", readFile(modules / ".faultward") + "[Leave]\r\nModule1:Save\r\n");
    EXPECT_EQ(run({"insert", folder()}).status, ExitOk);
    const std::string module = readFile(modules / "Module1.bas");
    EXPECT_NE(module.find("Sub Save()\r\n    Beep"), std::string::npos) << module;
    EXPECT_NE(module.find("Sub Load()\r\nON ERROR GOTO ERR_Load"), std::string::npos) << module;
}

TEST_F(CliFolder, aTemplatesProjectIsTheFoldersNameAndDiffPathsAreItsFiles) {
    const fs::path tmpl = settings.write(
        "t.txt", crlf({"[trap]", "On Error GoTo E_{procedure}", "[handler]",
                       "E_{procedure}:", "    Debug.Print \"{project}.{module} in {file}\""}));
    const CliRun dry =
        run({"insert", "--dry-run", "--diff", "--template", tmpl.string(), folder()});
    EXPECT_EQ(dry.status, ExitOk) << dry.err;
    EXPECT_NE(dry.out.find("+++ b/Module1.bas"), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("Debug.Print \"" + modules.path().filename().string() +
                           ".Module1 in Module1.bas\""),
              std::string::npos)
        << dry.out;
}

TEST_F(CliFolder, outputCopiesItsModulesCompanionsAndSettingsAndWorksOnTheCopy) {
    modules.write(".faultward", "[Handler]\r\nFiles=frm\r\n");
    const TempFolder out;
    const CliRun copied = run({"insert", "--output", (out / "release").string(), folder()});
    EXPECT_EQ(copied.status, ExitOk) << copied.err;
    EXPECT_EQ(copied.out, (out / "release").string() + "\n");
    // Which files the copy takes is the project layer's; here, that the
    // command works on the copy with the copy's settings.
    const auto tree = treeOf(out / "release");
    EXPECT_NE(tree.at("UserForm1.frm"), kForm);
    EXPECT_EQ(tree.at("Module1.bas"), kModule) << "the copy's settings name forms only";
    EXPECT_EQ(readFile(modules / "UserForm1.frm"), kForm);
}

} // namespace
} // namespace faultward

#include "platform/entry_path.h"
#include "project/project_reader.h"
#include "rewrite/handler_format.h"
#include "rewrite/procedure_lines.h"
#include "support/process.h"
#include "support/split_mix.h"
#include "support/temp_folder.h"
#include "support/vb_project_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace faultward::testing {
namespace {

namespace fs = std::filesystem;

// Every file below root by its relative path, with its bytes.
std::map<std::string, std::string> treeBytes(const fs::path& root) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            tree[entry.path().lexically_relative(root).string()] = readFile(entry.path());
    return tree;
}

// The files the project names, found by their entries taken as written.
std::vector<fs::path> namedFiles(const fs::path& vbp) {
    std::vector<fs::path> files;
    for (const std::string& entry : projectEntries(readFile(vbp))) {
        const auto path = literalEntryPath(entry, vbp.parent_path());
        files.push_back(path.value_or(fs::path()));
    }
    return files;
}

std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end - start));
        start = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

TEST(VbProjectGenerator, randomSequenceIsTheSameEverywhere) {
    // The first outputs of splitmix64 from seed 0, as published with it.
    testing::SplitMix64 random(0);
    EXPECT_EQ(random.next(), 0xE220A8397B1DCDAFull);
    EXPECT_EQ(random.next(), 0x6E789E6AA1B965F4ull);
}

TEST(VbProjectGenerator, sameSeedGivesSameBytesAnotherSeedOthers) {
    TempFolder folder;
    testing::generateVbProject(folder / "a", {6, 200, 5});
    testing::generateVbProject(folder / "b", {6, 200, 5});
    testing::generateVbProject(folder / "c", {6, 200, 6});
    const auto a = treeBytes(folder / "a");
    EXPECT_EQ(a, treeBytes(folder / "b"));
    EXPECT_NE(a, treeBytes(folder / "c"));
}

TEST(VbProjectGenerator, everyLineEndsWithCrLfAndNoMarkerAppears) {
    TempFolder folder;
    testing::generateVbProject(folder.path(), {10, 300, 2});
    for (const auto& [path, bytes] : treeBytes(folder.path())) {
        ASSERT_TRUE(bytes.ends_with("\r\n")) << path;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\r') {
                ASSERT_EQ(bytes[i + 1], '\n') << path << " at " << i;
            } else if (bytes[i] == '\n') {
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << path << " at " << i;
            }
        }
        EXPECT_EQ(bytes.find(kMarker), std::string::npos) << path;
    }
}

TEST(VbProjectGenerator, entriesNameFilesThatExistAsWritten) {
    TempFolder folder;
    const fs::path vbp = testing::generateVbProject(folder.path(), {15, 100, 4});
    EXPECT_EQ(vbp.extension(), ".vbp");
    const std::string project = readFile(vbp);
    EXPECT_TRUE(project.starts_with("Type=Exe\r\n"));
    for (const std::string_view key : {"\r\nReference=", "\r\nClass=", "\r\nStartup=", "\r\nName="})
        EXPECT_NE(project.find(key), std::string::npos) << key;
    EXPECT_NE(project.find("\r\nModule=modMain; Modules\\modMain.bas\r\n"), std::string::npos);

    EXPECT_NE(project.find("\r\nForm=Dialogs\\"), std::string::npos);

    const std::vector<fs::path> files = namedFiles(vbp);
    ASSERT_EQ(files.size(), 15u);
    for (const fs::path& file : files)
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    // The class is not on the tool's list, but its file is there all the same.
    const std::size_t cls = project.find("\r\nClass=");
    const std::string classLine = project.substr(cls + 2, project.find('\r', cls + 2) - cls - 2);
    const auto classFile =
        literalEntryPath(classLine.substr(classLine.find("; ") + 2), folder.path());
    EXPECT_TRUE(classFile && fs::is_regular_file(*classFile)) << classLine;
}

// What the IDE would refuse or misread, though the tool itself would not mind.
TEST(VbProjectGenerator, modulesHoldNoFriendProceduresAndTextIsCodePage1252) {
    TempFolder folder;
    const fs::path vbp = testing::generateVbProject(folder.path(), {12, 300, 12});
    int modules = 0;
    for (const fs::path& file : namedFiles(vbp)) {
        const std::string bytes = readFile(file);
        if (file.extension() == ".bas") {
            ++modules;
            EXPECT_EQ(bytes.find("\r\nFriend "), std::string::npos) << file;
        }
        // UTF-8 would spell e acute as C3 A9; code page 1252 spells it E9.
        EXPECT_EQ(bytes.find("\xC3"), std::string::npos) << file;
    }
    EXPECT_GT(modules, 0);
}

TEST(VbProjectGenerator, filesHoldEveryKindOfLine) {
    TempFolder folder;
    const fs::path vbp = testing::generateVbProject(folder.path(), {4, 300, 9});
    std::map<std::string, bool> seen;
    const auto see = [&](const std::string& kind, bool found) { seen[kind] = seen[kind] || found; };
    for (const fs::path& file : namedFiles(vbp)) {
        const std::string bytes = readFile(file);
        if (file.extension() == ".frm") {
            EXPECT_TRUE(bytes.starts_with("VERSION 5.00\r\nBegin VB.Form ")) << file;
            EXPECT_NE(bytes.find("\r\nAttribute VB_Name = \""), std::string::npos) << file;
        } else {
            EXPECT_TRUE(bytes.starts_with("Attribute VB_Name = \"")) << file;
        }
        see("8-bit byte", std::any_of(bytes.begin(), bytes.end(), [](char c) {
                return static_cast<unsigned char>(c) >= 0x80;
            }));
        for (const std::string& line : crlfLines(bytes)) {
            for (const std::string_view prefix :
                 {"Sub ", "Public Sub ", "Private Sub ", "Friend Sub ", "Static Sub "})
                see("head " + std::string(prefix), line.starts_with(prefix));
            see("continued head", isSubHead(line) && continuesOnNextLine(line));
            see("one-line Sub", isSubHead(line) && endsWithInlineSubEnd(line));
            see("nested control", line.starts_with("      Begin VB."));
            see("Function", line.ends_with(") As Long") &&
                                line.find("Function ") != std::string::npos &&
                                line.find("Declare") == std::string::npos);
            see("End Function", line == "End Function");
            for (const std::string_view kind : {"Get ", "Let ", "Set "})
                see("Property " + std::string(kind),
                    line.find("Property " + std::string(kind)) != std::string::npos);
            see("End Property", line == "End Property");
            see("static look-alike",
                line.starts_with("Private Static Sub ") || line.starts_with("Public Static Sub "));
            see("Declare Sub", line.find("Declare Sub ") != std::string::npos);
            see("indented End Sub",
                line.starts_with(" ") && line.find_first_not_of(' ') == line.find("End Sub"));
            see("lower-case end sub", line == "end sub");
            see("comment naming a Sub",
                line.starts_with("' Sub ") || line.starts_with("    ' Sub "));
            see("string holding End Sub", line.find("\"End Sub\"") != std::string::npos);
            see("Exit Sub", line.find("Exit Sub") != std::string::npos);
            see("own On Error", line.find("On Error ") != std::string::npos);
            see("own label named as the tool's", line.starts_with("Err_") && line.ends_with(":"));
            see("blank", line.empty());
        }
    }
    for (const auto& [kind, found] : seen)
        EXPECT_TRUE(found) << kind;
    EXPECT_EQ(seen.size(), 25u);
}

TEST(VbProjectGenerator, filesAndLinesOptionsAreRoughlyHonoured) {
    TempFolder folder;
    for (const GeneratorOptions options : {GeneratorOptions{30, 400, 1}, {3, 2000, 2}}) {
        const fs::path vbp =
            testing::generateVbProject(folder / std::to_string(options.files), options);
        const std::vector<fs::path> files = namedFiles(vbp);
        ASSERT_EQ(files.size(), static_cast<std::size_t>(options.files));
        std::size_t total = 0;
        for (const fs::path& file : files) {
            const std::size_t lines = crlfLines(readFile(file)).size();
            EXPECT_GT(lines, options.lines / 2u) << file;
            EXPECT_LT(lines, options.lines * 3u / 2) << file;
            total += lines;
        }
        const double mean = static_cast<double>(total) / options.files;
        EXPECT_NEAR(mean, options.lines, options.lines * 0.15);
    }
}

TEST(VbProjectGenerator, executablePrintsTheProjectPath) {
    TempFolder folder;
    const fs::path generator = FAULTWARD_GENERATE_PROJECT;
    const ProcessResult run = runProcess(
        generator, {(folder / "p").string(), "--files", "3", "--lines", "50", "--seed", "8"});
    ASSERT_EQ(run.exitCode, 0);
    const std::string& printed = run.out;
    ASSERT_TRUE(printed.ends_with(".vbp\n")) << printed;
    const fs::path vbp = printed.substr(0, printed.size() - 1);
    EXPECT_EQ(namedFiles(vbp).size(), 3u);

    TempFolder same;
    EXPECT_EQ(readFile(vbp), readFile(testing::generateVbProject(same.path(), {3, 50, 8})));
    EXPECT_NE(runProcess(generator, {(folder / "q").string(), "--files", "none"}).exitCode, 0);
    EXPECT_FALSE(fs::exists(folder / "q"));
}

} // namespace
} // namespace faultward::testing

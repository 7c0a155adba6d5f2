// Project files that are empty, binary, enormous or odd: a clear message where
// something is wrong, no crash, and no file touched but the listed entries.
#include "child_process.h"
#include "project/file_list.h"
#include "project_tree.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace faultward::reliability {
namespace {

const std::string kProcedure = "Private Sub Form_Load()\r\n    Show\r\nEnd Sub\r\n";

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t found = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++found;
    return found;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// Source files that no project below lists, so none may change.
class BadProject : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.write("Form1.frm", kProcedure);
        folder_.write("Module1.bas", kProcedure);
        folder_.write("Class1.cls", kProcedure);
    }
    TempFolder folder_;
};

TEST_F(BadProject, emptyProjectListsNothing_binaryProjectIsRefused_neitherTouchesAnything) {
    std::mt19937 random(5);
    std::string binary(256 * 1024, '\0');
    for (char& byte : binary)
        byte = static_cast<char>(random());
    const fs::path empty = folder_.write("Empty.vbp", "");
    const fs::path noise = folder_.write("Binary.vbp", binary);
    const TreeSnapshot before = snapshotTree(folder_.path());

    for (const std::string command : {"list", "insert", "remove"}) {
        const ChildResult listed = runCli({command, empty.string()});
        EXPECT_EQ(listed.exitStatus, 0) << command;
        EXPECT_EQ(listed.out, "") << command;
        const ChildResult refused = runCli({command, noise.string()});
        EXPECT_EQ(refused.exitStatus, 2) << command;
        EXPECT_EQ(refused.err, "faultward-cli: The file " + noise.string() +
                                   " holds binary data; it is not a project file.\n");
    }
    EXPECT_EQ(differences(before, snapshotTree(folder_.path()), true), std::vector<std::string>{});
}

TEST_F(BadProject, carriageReturnOrLineFeedOnlyProjectsListTheSameFiles) {
    const std::string lines[] = {"Type=Exe", "Form=Form1.frm", "Module=M; Module1.bas"};
    for (const std::string ending : {"\r\n", "\r", "\n"}) {
        std::string text;
        for (const std::string& line : lines)
            text += line + ending;
        const fs::path project = folder_.write("Breaks.vbp", text);
        const ChildResult listed = runCli({"list", project.string()});
        EXPECT_EQ(listed.exitStatus, 0);
        EXPECT_EQ(listed.out, "Form1.frm\nModule1.bas\n") << static_cast<int>(ending[0]);
    }
}

TEST_F(BadProject, sevenMegabyteLinesGiveOneCutEntry_overSixteenMegabytesIsRefused) {
    const std::string huge(7 * 1024 * 1024, 'A');
    const fs::path project =
        folder_.write("Huge.vbp", "Form=" + huge + "\r\n" + huge + "\r\nForm=Form1.frm\r\n");
    const TreeSnapshot before = snapshotTree(folder_.path());

    const ChildResult listed = runCli({"list", project.string()});
    EXPECT_EQ(listed.exitStatus, 0);
    EXPECT_EQ(listed.out, std::string(250, 'A') + "\nForm1.frm\n");
    const ChildResult inserted = runCli({"insert", "--mode", "0", project.string()});
    EXPECT_EQ(inserted.exitStatus, 1);
    EXPECT_EQ(inserted.err, "faultward-cli: " + std::string(250, 'A') + ": not found\n");
    EXPECT_EQ(differences(before, snapshotTree(folder_.path()), true),
              std::vector<std::string>{"Form1.frm"});

    const fs::path over = folder_.write("Over.vbp", "Form=Form1.frm\r\n" + huge + huge + huge);
    const ChildResult refused = runCli({"insert", over.string()});
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_EQ(refused.err, "faultward-cli: The file " + over.string() +
                               " is larger than 16 MiB, too large to be a project file.\n");
}

TEST_F(BadProject, hundredThousandEntriesAreSortedAndEachFileIsDoneOnce) {
    std::string text;
    for (int i = 0; i < 100000; ++i) {
        if (i % 1000 == 0)
            text += "Module=M; Missing" + std::to_string(i / 1000) + ".bas\r\n";
        else
            text += "Form=form" + std::to_string(i % 20) + ".FRM\r\n";
    }
    for (int i = 0; i < 20; ++i)
        folder_.write("Form" + std::to_string(i) + ".frm", kProcedure);
    const fs::path project = folder_.write("Many.vbp", text);

    const ChildResult listed = runCli({"list", project.string()});
    EXPECT_EQ(listed.exitStatus, 0);
    const auto entries = lines(listed.out);
    ASSERT_EQ(entries.size(), 100000u);
    for (std::size_t i = 1; i < entries.size(); ++i)
        ASSERT_LE(compareListText(entries[i - 1], entries[i]), 0) << i;

    const ChildResult inserted = runCli({"insert", "--mode", "1", project.string()});
    EXPECT_EQ(inserted.exitStatus, 1);
    EXPECT_EQ(lines(inserted.err).size(), 100u);
    EXPECT_EQ(count(inserted.err, ": not found\n"), 100u);
    for (int i = 0; i < 20; ++i) {
        const std::string bytes =
            testing::readFile(folder_ / ("Form" + std::to_string(i) + ".frm"));
        EXPECT_EQ(count(bytes, "ON ERROR GOTO ERR_Form_Load"), 1u) << i;
    }
    EXPECT_EQ(testing::readFile(folder_ / "Module1.bas"), kProcedure);
}

TEST_F(BadProject, longEntriesAreCutAt250AndOnlyTheCutNameIsTouched) {
    std::string folders;
    for (int i = 0; i < 11; ++i)
        folders += "F" + std::to_string(1000000000000000000LL + i) + "\\"; // 21 characters
    const std::string cut = folders + std::string(15, 'L') + ".bas";
    ASSERT_EQ(cut.size(), 250u);
    std::string onDisk = cut;
    std::replace(onDisk.begin(), onDisk.end(), '\\', '/');
    folder_.write(onDisk, kProcedure);
    folder_.write(onDisk + "_and_more.bas", kProcedure);
    // One name as long as an entry gets: its temporary must still be a legal name.
    const std::string longName = std::string(246, 'N') + ".frm";
    folder_.write(longName, kProcedure);
    const fs::path project = folder_.write(
        "Long.vbp", "Module=L; " + cut + "_and_more.bas\r\nForm=" + longName + "\r\n");
    const TreeSnapshot before = snapshotTree(folder_.path());

    const ChildResult inserted = runCli({"insert", "--mode", "0", project.string()});
    EXPECT_EQ(inserted.exitStatus, 0) << inserted.err;
    auto changed = differences(before, snapshotTree(folder_.path()), true);
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ(changed, (std::vector<std::string>{onDisk, longName}));
}

TEST_F(BadProject, eightBitNamesFindRawOrConvertedFiles) {
    folder_.write("\xc3\xa9t\xc3\xa9.frm", kProcedure); // as a Linux checkout names it
    folder_.write("Gr\xfc\xdf"
                  "e.bas",
                  kProcedure); // the project's own bytes
    const fs::path project = folder_.write("Names.vbp", "Form=\xe9t\xe9.frm\r\nModule=G; Gr\xfc\xdf"
                                                        "e.bas\r\n");
    const TreeSnapshot before = snapshotTree(folder_.path());

    const ChildResult listed = runCli({"list", project.string()});
    EXPECT_EQ(listed.out, "Gr\xfc\xdf"
                          "e.bas\n\xe9t\xe9.frm\n");
    const ChildResult inserted = runCli({"insert", "--mode", "0", project.string()});
    EXPECT_EQ(inserted.exitStatus, 0) << inserted.err;
    auto changed = differences(before, snapshotTree(folder_.path()), true);
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ(changed, (std::vector<std::string>{"Gr\xfc\xdf"
                                                 "e.bas",
                                                 "\xc3\xa9t\xc3\xa9.frm"}));
}

TEST_F(BadProject, projectThatIsNoReadableFileExitsTwoWithAMessage) {
    ASSERT_EQ(::mkfifo((folder_ / "Fifo.vbp").c_str(), 0644), 0);
    fs::create_symlink("Gone.vbp", folder_ / "Dangling.vbp");
    folder_.write("Secret.vbp", "Form=Form1.frm\r\n");
    folder_.write("Locked/Module1.bas", "Sub A()\r\nEnd Sub\r\n");
    giveTreeToChildUser(folder_.path());
    fs::permissions(folder_ / "Secret.vbp", fs::perms::none);
    const TreeSnapshot before = snapshotTree(folder_.path());
    fs::permissions(folder_ / "Locked", fs::perms::none);

    const std::vector<std::pair<std::string, std::string>> cases = {
        // A folder is a project of the modules in it; one that cannot be read is refused.
        {(folder_ / "Locked").string(), "cannot be read: permission denied"},
        {(folder_ / "Fifo.vbp").string(), "is not a file"},
        {"/dev/zero", "is not a file"},
        {(folder_ / "Dangling.vbp").string(), "does not exist"},
        {(folder_ / "Secret.vbp").string(), "cannot be read"},
    };
    for (const auto& [project, message] : cases) {
        ChildOptions options;
        options.args = {"insert", project};
        options.unprivileged = true;
        const ChildResult result = runChild(options);
        EXPECT_FALSE(result.hung) << project;
        EXPECT_EQ(result.exitStatus, 2) << project;
        EXPECT_NE(result.err.find(project), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    }
    fs::permissions(folder_ / "Locked", fs::perms::owner_all);
    EXPECT_EQ(differences(before, snapshotTree(folder_.path()), true), std::vector<std::string>{});
}

} // namespace
} // namespace faultward::reliability

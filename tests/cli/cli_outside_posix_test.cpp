// faultward-cli on a project a stranger prepared: what it writes and copies
// outside the project's folder, and what it says.
#include "cli_run.h"
#include "support/planted_project.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

using testing::PlantedProject;

// The lines of stderr that name files outside, with the root made short.
std::vector<std::string> outsideLines(const std::string& err, const fs::path& root) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = err.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = err.substr(start, end - start);
        if (line.find("project's folder") == std::string::npos &&
            !line.starts_with("faultward-cli:   ") && !line.starts_with("faultward-cli: no") &&
            !line.starts_with("faultward-cli: nothing"))
            continue;
        for (std::size_t at; (at = line.find(root.string())) != std::string::npos;)
            line.replace(at, root.string().size(), "ROOT");
        lines.push_back(line);
    }
    return lines;
}

class CliOutside : public ::testing::Test {
protected:
    CliRun run(std::vector<std::string> args) { return runIn(settings.path(), std::move(args)); }
    TempFolder root;
    TempFolder settings;
};

TEST_F(CliOutside, aWritingCommandNamesWhatLiesOutsideAndWritesNothingWithoutTheWord) {
    const PlantedProject planted(root);
    const auto before = treeOf(root.path());
    const CliRun refused = run({"insert", planted.vbp.string()});
    EXPECT_EQ(refused.status, ExitOutside);
    EXPECT_EQ(outsideLines(refused.err, root.path()),
              (std::vector<std::string>{
                  "faultward-cli: insert would work on files outside the project's folder "
                  "ROOT/repo/app:",
                  "faultward-cli:   ..\\..\\victim\\Other.bas, at ROOT/victim/Other.bas",
                  "faultward-cli:   ROOT/elsewhere/Abs.bas",
                  "faultward-cli:   L.bas, a link to ROOT/linked/Linked.bas",
                  "faultward-cli: nothing was written; --allow-outside lets the command write "
                  "them"}));
    EXPECT_EQ(treeOf(root.path()), before);

    // A dry run names them and goes on, as check does.
    const CliRun dryRun = run({"remove", "--dry-run", planted.vbp.string()});
    EXPECT_NE(dryRun.err.find("faultward-cli: note: files outside the project's folder "),
              std::string::npos);
    EXPECT_EQ(outsideLines(run({"check", planted.vbp.string()}).err, root.path()).size(), 4u);
    EXPECT_EQ(treeOf(root.path()), before);

    const CliRun allowed = run({"insert", "--allow-outside", planted.vbp.string()});
    EXPECT_EQ(allowed.status, ExitSomeFilesFailed) << "the name that sets a title is no file";
    EXPECT_NE(allowed.err.find("faultward-cli: --allow-outside: working on files outside"),
              std::string::npos);
    for (const char* written : {"victim/Other.bas", "elsewhere/Abs.bas", "linked/Linked.bas"})
        EXPECT_NE(readFile(root / written), kOneSubSource) << written;
}

// Every project of a group is placed against the group's folder.
TEST_F(CliOutside, aGroupsProjectNamedByAFullPathIsOutsideTheGroupsFolder) {
    const PlantedProject planted(root);
    const CliRun refused = run({"number", planted.group.string()});
    EXPECT_EQ(refused.status, ExitOutside);
    const std::vector<std::string> lines = outsideLines(refused.err, root.path());
    EXPECT_EQ(lines.front(), "faultward-cli: number would work on files outside the project's "
                             "folder ROOT/repo:");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "faultward-cli:   ROOT/abs/V.bas"),
              lines.end());
    EXPECT_NE(
        std::find(lines.begin(), lines.end(),
                  "faultward-cli:   app\\..\\..\\victim\\Other.bas, at ROOT/victim/Other.bas"),
        lines.end());
}

TEST_F(CliOutside, aTemplateTheProjectsSettingsNameOutsideIsNeitherReadNorUsedUnasked) {
    root.write("app/A.bas", kOneSubSource);
    const fs::path vbp = root.write("app/A.vbp", crlf({"Module=A; A.bas"}));
    root.write("t.txt", "[trap]\nON ERROR GOTO ERR_{procedure}\n[handler]\n{exit}\n"
                        "ERR_{procedure}:\n");
    root.write("app/A.faultward", "[Handler]\r\nHandler=Template\r\nTemplate=..\\t.txt\r\n");
    const CliRun refused = run({"insert", vbp.string()});
    EXPECT_EQ(refused.status, ExitOutside);
    EXPECT_EQ(outsideLines(refused.err, root.path())[1],
              "faultward-cli:   the template ..\\t.txt that ROOT/app/A.faultward names, at "
              "ROOT/t.txt");
    EXPECT_EQ(readFile(root / "app/A.bas"), kOneSubSource);
    EXPECT_EQ(run({"insert", "--allow-outside", vbp.string()}).status, ExitOk);
    EXPECT_NE(readFile(root / "app/A.bas").find("ERR_A:"), std::string::npos);
}

TEST_F(CliOutside, aCopyFollowsNoLinkOutAndTakesFromOutsideOnlyWithTheWord) {
    const PlantedProject planted(root, false);
    const std::string out = (root / "release").string();
    for (const char* allow : {"--no-settings", "--allow-outside"}) {
        const CliRun linked = run({"remove", allow, "--output", out, planted.vbp.string()});
        EXPECT_EQ(linked.status, ExitOutside);
        EXPECT_EQ(outsideLines(linked.err, root.path()),
                  (std::vector<std::string>{
                      "faultward-cli: --output follows no link out of the project's folder "
                      "ROOT/repo/app, and these are links out:",
                      "faultward-cli:   frmMain.frx (in P.vbp), a link to ROOT/home/.ssh/id_rsa",
                      "faultward-cli:   L.bas (in P.vbp), a link to ROOT/linked/Linked.bas",
                      "faultward-cli: no copy was made; put the files themselves in the "
                      "project's folder"}));
        EXPECT_FALSE(fs::exists(out));
    }

    // With the links made files, what climbs out needs the word.
    for (const char* link : {"repo/app/frmMain.frx", "repo/app/L.bas"}) {
        fs::remove(root / link);
        root.write(link, "own");
    }
    const CliRun refused = run({"remove", "--output", out, planted.vbp.string()});
    EXPECT_EQ(refused.status, ExitOutside);
    EXPECT_EQ(outsideLines(refused.err, root.path()),
              (std::vector<std::string>{
                  "faultward-cli: --output would copy files from outside the project's folder "
                  "ROOT/repo/app:",
                  "faultward-cli:   ..\\..\\home\\secret (in frmMain.frm), at ROOT/home/secret",
                  "faultward-cli:   ..\\..\\victim\\Other.bas (in P.vbp), at ROOT/victim/Other.bas",
                  "faultward-cli:   ..\\..\\home\\.aws\\credentials (in P.vbp), at "
                  "ROOT/home/.aws/credentials",
                  "faultward-cli: no copy was made; --allow-outside lets the copy take them"}));
    EXPECT_FALSE(fs::exists(out));

    const CliRun copied = run({"remove", "--allow-outside", "--output", out, planted.vbp.string()});
    EXPECT_EQ(copied.status, ExitSomeFilesFailed) << "the name that sets a title is no file";
    EXPECT_NE(copied.err.find("faultward-cli: warning: frmMain.frm names its companion "
                              "C:\\x\\a.ico by a full path; it is not copied, and the copy still "
                              "uses that file\n"),
              std::string::npos)
        << copied.err;
    EXPECT_EQ(readFile(root / "release/repo/app/P.faultward"),
              readFile(root / "repo/app/P.faultward"));
    EXPECT_EQ(fs::status(root / "release/repo/app/Private.bas").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readFile(root / "release/home/secret"), "SECRET");
}

} // namespace
} // namespace faultward

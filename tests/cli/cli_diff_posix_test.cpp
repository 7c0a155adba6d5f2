// A dry run's diff against the system's patch: applied with patch -p1 in the
// folder the output names (the project's own when it names none), it must
// give exactly the files insert writes.
#include "cli_run.h"
#include "support/process.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>

using faultward::testing::runProcess;
namespace fs = std::filesystem;

namespace faultward {
namespace {

constexpr std::string_view kFolderLine = "folder: ";

// Writes the same project below dry and real, dry-runs insert on the one and
// patches it with the diff, inserts into the other; the diff is returned.
std::string patchAndCompare(const std::function<void(const TempFolder&, const fs::path&)>& write,
                            const std::string& project) {
    TempFolder folder;
    TempFolder settings;
    write(folder, "dry");
    write(folder, "real");
    const std::vector<std::string> insert = {"insert", "--mode", "0", "--kinds", "all"};
    std::vector<std::string> dryRun = insert;
    dryRun.insert(dryRun.end(), {"--dry-run", "--diff", (folder / "dry" / project).string()});
    const CliRun diff = runIn(settings.path(), dryRun);
    EXPECT_EQ(diff.status, ExitOk) << diff.err;

    fs::path applyIn = (folder / "dry" / project).parent_path();
    if (diff.out.starts_with(kFolderLine))
        applyIn = diff.out.substr(kFolderLine.size(), diff.out.find('\n') - kFolderLine.size());
    const fs::path changes = folder.write("changes.diff", diff.out);
    const auto patched =
        runProcess("/usr/bin/patch",
                   {"-p1", "--batch", "--no-backup-if-mismatch", "-i", changes.string()}, applyIn);
    EXPECT_EQ(patched.exitCode, 0) << patched.out << patched.err;

    std::vector<std::string> real = insert;
    real.insert(real.end(), {"--allow-outside", (folder / "real" / project).string()});
    EXPECT_EQ(runIn(settings.path(), real).status, ExitOk);
    EXPECT_EQ(treeOf(folder / "dry"), treeOf(folder / "real"));
    return diff.out;
}

TEST(CliDiff, patchAppliesEntriesOutsideTheProjectFolderWhereTheOutputSays) {
    const auto write = [](const TempFolder& folder, const fs::path& root) {
        folder.write((root / "app/App.vbp").string(),
                     crlf({"Form=Main.frm", "Module=Util; ..\\Common\\Util.bas",
                           "Class=CWarn; ..\\Class\\Clstwarn.cls"}));
        folder.write(
            (root / "app/Main.frm").string(),
            crlf({"VERSION 5.00", "Begin VB.Form Main", "End", "Attribute VB_Name = \"Main\"",
                  "Private Sub Form_Load()", "    x = 1", "End Sub"}));
        folder.write((root / "Common/Util.bas").string(), "Sub Tidy()\n    y = 2\nEnd Sub\n");
        folder.write((root / "Class/Clstwarn.cls").string(), "Public Sub Warn()\r\nEnd Sub");
    };
    const std::string diff = patchAndCompare(write, "app/App.vbp");
    EXPECT_NE(diff.find("\n--- a/Class/Clstwarn.cls\n"), std::string::npos) << diff;
    EXPECT_TRUE(diff.starts_with(std::string(kFolderLine))) << diff;
}

TEST(CliDiff, patchFindsFilesNamedInOtherLetterCase) {
    const auto write = [](const TempFolder& folder, const fs::path& root) {
        folder.write((root / "App.vbp").string(),
                     crlf({"Form=MAIN.FRM", "Module=U; SUB\\util.BAS"}));
        folder.write((root / "Main.frm").string(), crlf({"Private Sub Form_Load()", "End Sub"}));
        folder.write((root / "Sub/Util.bas").string(), crlf({"Sub Tidy()", "End Sub"}));
    };
    const std::string diff = patchAndCompare(write, "App.vbp");
    EXPECT_TRUE(diff.starts_with("--- a/Main.frm\n")) << diff;
    EXPECT_NE(diff.find("\n--- a/Sub/Util.bas\n"), std::string::npos) << diff;
}

} // namespace
} // namespace faultward

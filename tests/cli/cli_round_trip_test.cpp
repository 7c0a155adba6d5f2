#include "cli/cli.h"
#include "cli_run.h"
#include "support/temp_folder.h"
#include "support/vb_project_generator.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace faultward {
namespace {

std::size_t filesDiffering(const std::map<std::string, std::string>& a,
                           const std::map<std::string, std::string>& b) {
    std::size_t count = 0;
    for (const auto& [name, bytes] : a)
        count += b.count(name) == 0 || b.at(name) != bytes;
    return count;
}

// Insert with options, then remove with the same kinds, on generated
// projects: every byte comes back.
class CliRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        vbp_ = testing::generateVbProject(folder_ / "work", {10, 300, 23});
        original_ = treeOf(folder_ / "work");
    }
    int run(std::vector<std::string> args, std::string* out = nullptr) {
        std::ostringstream stdOut;
        std::ostringstream stdErr;
        CliEnvironment env{stdOut, stdErr, false, settings_.path()};
        args.push_back(vbp_.string());
        const int status = runCli(args, env);
        EXPECT_EQ(stdErr.str(), "");
        if (out)
            *out = stdOut.str();
        return status;
    }

    TempFolder folder_;
    TempFolder settings_;
    fs::path vbp_;
    std::map<std::string, std::string> original_;
};

TEST_F(CliRoundTrip, everyOptionComesOutAgain) {
    const fs::path custom = settings_.write(
        "custom.txt", "[trap]\nOn Error GoTo Fail_{procedure}\n[handler]\n{exit}\n"
                      "Fail_{procedure}:\n  Log \"{project} {file} {module}\", Err.Number\n"
                      "  Resume Next\n");
    const std::vector<std::vector<std::string>> optionSets = {
        {"--procedures", "all", "--kinds", "all", "--mode", "0"},
        {"--procedures", "function,property", "--kinds", "all", "--skip-handled", "--mode", "2"},
        {"--procedures", "all", "--kinds", "class", "--template", custom.string()},
        {"--kinds", "all", "--template",
         (fs::path(FAULTWARD_TEMPLATES_DIR) / "mode1-resume-next.txt").string()},
    };
    for (const std::vector<std::string>& options : optionSets) {
        std::vector<std::string> insert = {"insert"};
        insert.insert(insert.end(), options.begin(), options.end());
        ASSERT_EQ(run(insert), ExitOk);
        EXPECT_GE(filesDiffering(original_, treeOf(folder_ / "work")), 1u) << options[1];
        // What insertion leaves alone on purpose is no missing trap.
        std::vector<std::string> check = {"check", "--handled"};
        check.insert(check.end(), options.begin(), options.end());
        EXPECT_EQ(run(check), ExitOk) << options[1];
        // A second insert leaves one set of handlers: the same bytes again.
        const auto once = treeOf(folder_ / "work");
        ASSERT_EQ(run(insert), ExitOk);
        EXPECT_EQ(treeOf(folder_ / "work"), once);
        ASSERT_EQ(run({"remove", "--kinds", "all"}), ExitOk);
        EXPECT_EQ(treeOf(folder_ / "work"), original_) << options[1];
    }
}

TEST_F(CliRoundTrip, dryRunForeseesWhatInsertDoes) {
    std::string foreseen;
    ASSERT_EQ(run({"insert", "--procedures", "all", "--kinds", "all", "--dry-run"}, &foreseen),
              ExitOk);
    EXPECT_EQ(treeOf(folder_ / "work"), original_);
    ASSERT_EQ(run({"insert", "--procedures", "all", "--kinds", "all"}), ExitOk);
    const auto inserted = treeOf(folder_ / "work");
    std::size_t lines = 0;
    for (std::size_t at = foreseen.find('\n'); at != std::string::npos;
         at = foreseen.find('\n', at + 1))
        ++lines;
    EXPECT_EQ(lines, filesDiffering(original_, inserted));
    std::string removal;
    ASSERT_EQ(run({"remove", "--kinds", "all", "--dry-run"}, &removal), ExitOk);
    EXPECT_EQ(removal.size(), foreseen.size()); // "+n -0" has the length of "+0 -n"
}

TEST_F(CliRoundTrip, releaseCopyRemovesBackToTheSources) {
    const fs::path out = folder_ / "release";
    std::string printed;
    ASSERT_EQ(run({"insert", "--procedures", "all", "--kinds", "all", "--output", out.string()},
                  &printed),
              ExitOk);
    EXPECT_EQ(treeOf(folder_ / "work"), original_);
    const auto copy = treeOf(out);
    EXPECT_EQ(copy.size(), original_.size());
    EXPECT_GE(filesDiffering(original_, copy), 10u);
    vbp_ = printed.substr(0, printed.size() - 1);
    ASSERT_EQ(run({"remove", "--kinds", "all"}), ExitOk);
    EXPECT_EQ(treeOf(out), original_);
}

} // namespace
} // namespace faultward

// The command line killed with SIGKILL at random moments while it rewrites a
// large project: every file must be whole, either as it was or as the pass
// meant it to be, and the next run must clear the temporaries left behind.
#include "child_process.h"
#include "project_tree.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace faultward::reliability {
namespace {

// Bounded so the suite stays short; raise it when hunting a fault.
int killRounds() {
    const char* text = std::getenv("FAULTWARD_KILL_ROUNDS");
    return text ? std::max(1, std::atoi(text)) : 40;
}

unsigned killSeed() {
    const char* text = std::getenv("FAULTWARD_KILL_SEED");
    return text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : std::random_device{}();
}

std::vector<std::string> commandLine(bool insert, const fs::path& project) {
    if (insert)
        return {"insert", "--mode", "0", project.string()};
    return {"remove", project.string()};
}

// How long an uninterrupted run takes here, so that the kills fall inside runs
// rather than after them. The median of a few runs after a warm-up.
std::chrono::microseconds typicalRunTime(const fs::path& project) {
    runCli(commandLine(true, project));
    std::vector<std::chrono::microseconds> times;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        runCli(commandLine(i % 2 == 0, project));
        times.push_back(std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// When to kill the next run: at random within how long a run takes, that
// bound following the machine's load. A run that ended before its kill
// shortens it, one that was killed lengthens it a little (up to twice the
// first), so the kills keep falling inside runs on a machine that gets busier
// or quieter while the test runs.
class KillDelay {
public:
    KillDelay(std::chrono::microseconds runTime, unsigned seed)
        : bound_(static_cast<double>(runTime.count())), most_(2 * bound_), random_(seed) {}

    std::chrono::microseconds next() {
        std::uniform_real_distribution<double> delay(0, bound_);
        return std::chrono::microseconds(static_cast<long>(delay(random_)));
    }

    void killed(bool midRun) { bound_ = midRun ? std::min(most_, bound_ * 1.05) : bound_ * 0.8; }

    std::mt19937& random() { return random_; }

private:
    double bound_;
    double most_;
    std::mt19937 random_;
};

TEST(KilledPass, everyFileStaysWholeAndTheNextRunClearsTemporaries) {
    TempFolder folder;
    const fs::path work = folder / "work";
    const fs::path project = generateProject(work, 100, 1500, 11);
    const TreeSnapshot original = snapshotTree(work);
    ASSERT_EQ(runCli(commandLine(true, project)).exitStatus, 0);
    const TreeSnapshot processed = snapshotTree(work);
    ASSERT_GE(differences(original, processed, false).size(), 90u);

    const auto runTime = typicalRunTime(project);
    const unsigned seed = killSeed();
    SCOPED_TRACE("FAULTWARD_KILL_SEED=" + std::to_string(seed));
    KillDelay delay(runTime, seed);
    std::mt19937& random = delay.random();
    std::bernoulli_distribution coin;

    int killedMidRun = 0;
    int leftTemporary = 0;
    int leftMix = 0;
    const int rounds = killRounds();
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ChildOptions options;
        options.args = commandLine(coin(random), project);
        ChildProcess child(options);
        std::this_thread::sleep_for(delay.next());
        child.sendSignal(SIGKILL);
        const ChildResult result = child.wait();
        ASSERT_TRUE(result.signal == SIGKILL || result.exitStatus == 0) << result.err;
        delay.killed(result.signal == SIGKILL);
        if (result.signal == SIGKILL)
            ++killedMidRun;

        const TreeSnapshot after = snapshotTree(work);
        const auto temporaries = temporariesIn(after);
        leftTemporary += temporaries.empty() ? 0 : 1;
        int asOriginal = 0;
        int asProcessed = 0;
        for (const auto& [path, state] : original) {
            const auto now = after.find(path);
            ASSERT_NE(now, after.end()) << path << " is gone";
            const bool wasOriginal = sameEntry(state, now->second, false);
            const bool wasProcessed = sameEntry(processed.at(path), now->second, false);
            ASSERT_TRUE(wasOriginal || wasProcessed) << path << " is neither whole form";
            asOriginal += wasOriginal && !wasProcessed;
            asProcessed += wasProcessed && !wasOriginal;
        }
        ASSERT_EQ(after.size(), original.size() + temporaries.size());
        leftMix += asOriginal > 0 && asProcessed > 0;

        // The next, uninterrupted run finishes the job and clears what the
        // killed one left; its end state is where the next round starts.
        const bool insert = coin(random);
        const ChildResult next = runCli(commandLine(insert, project));
        ASSERT_EQ(next.exitStatus, 0) << next.err;
        const TreeSnapshot finished = snapshotTree(work);
        EXPECT_EQ(temporariesIn(finished), std::vector<std::string>{});
        EXPECT_EQ(differences(insert ? processed : original, finished, false),
                  std::vector<std::string>{});
    }
    RecordProperty("kill_rounds", rounds);
    RecordProperty("killed_mid_run", killedMidRun);
    RecordProperty("left_a_temporary", leftTemporary);
    RecordProperty("left_a_mix", leftMix);
    std::cout << "[ kills    ] " << rounds << " rounds, " << killedMidRun << " killed mid-run, "
              << leftMix << " left some files done and some not, " << leftTemporary
              << " left a temporary (run time " << runTime.count() << " us)\n";
    EXPECT_GE(killedMidRun, rounds / 4) << "the kills fell after the runs; nothing was tested";
}

// The copy of a file's old bytes that a run writing the file in place makes.
fs::path copyOfOldBytes(const fs::path& file, pid_t owner) {
    return file.parent_path() /
           ("." + file.filename().string() + ".faultward-" + std::to_string(owner) + ".old");
}

// Every source file has a second name outside the project, so every write
// goes in place: a kill leaves each file whole, or its old bytes whole in a
// copy beside it, which the next run puts back before it does its own work.
TEST(KilledPass, filesWithTwoNamesStayWholeOrArePutBack) {
    TempFolder folder;
    const fs::path work = folder / "work";
    const fs::path project = generateProject(work, 60, 1500, 12);
    const TreeSnapshot original = snapshotTree(work);
    std::map<std::string, fs::path> links;
    for (const auto& [path, state] : original) {
        if (path.ends_with(".vbp") || state.type != S_IFREG)
            continue;
        links[path] = folder / "links" / std::to_string(links.size());
        fs::create_directories(links[path].parent_path());
        fs::create_hard_link(work / path, links[path]);
    }
    ASSERT_EQ(runCli(commandLine(true, project)).exitStatus, 0);
    const TreeSnapshot processed = snapshotTree(work);

    const auto runTime = typicalRunTime(project);
    const unsigned seed = killSeed();
    SCOPED_TRACE("FAULTWARD_KILL_SEED=" + std::to_string(seed));
    KillDelay delay(runTime, seed);
    std::mt19937& random = delay.random();
    std::bernoulli_distribution coin;
    const auto isWhole = [&](const std::string& path, const EntryState& state) {
        return sameEntry(original.at(path), state, false) ||
               sameEntry(processed.at(path), state, false);
    };

    int killedMidRun = 0;
    int leftCopy = 0;
    const int rounds = killRounds();
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ChildOptions options;
        options.args = commandLine(coin(random), project);
        ChildProcess child(options);
        const pid_t owner = child.pid();
        std::this_thread::sleep_for(delay.next());
        child.sendSignal(SIGKILL);
        const ChildResult result = child.wait();
        ASSERT_TRUE(result.signal == SIGKILL || result.exitStatus == 0) << result.err;
        delay.killed(result.signal == SIGKILL);
        killedMidRun += result.signal == SIGKILL;

        const TreeSnapshot after = snapshotTree(work);
        for (const auto& [path, state] : links) {
            const auto now = after.find(path);
            ASSERT_NE(now, after.end()) << path << " is gone";
            const fs::path copy = copyOfOldBytes(work / path, owner);
            const bool copyLeft = fs::exists(copy);
            leftCopy += copyLeft;
            // A copy cut short is of no matter while the file is whole.
            ASSERT_TRUE(isWhole(path, now->second) || (copyLeft && isWhole(path, entryState(copy))))
                << path << " is neither whole form, nor are its old bytes in a copy";
        }

        const bool insert = coin(random);
        const ChildResult next = runCli(commandLine(insert, project));
        ASSERT_EQ(next.exitStatus, 0) << next.err;
        const TreeSnapshot finished = snapshotTree(work);
        EXPECT_EQ(differences(insert ? processed : original, finished, false),
                  std::vector<std::string>{});
        for (const auto& [path, link] : links)
            ASSERT_EQ(entryState(link).inode, finished.at(path).inode) << path;
    }
    std::cout << "[ kills    ] " << rounds << " rounds, " << killedMidRun << " killed mid-run, "
              << leftCopy << " copies of old bytes left (run time " << runTime.count() << " us)\n";
    EXPECT_GE(killedMidRun, rounds / 4) << "the kills fell after the runs; nothing was tested";
}

} // namespace
} // namespace faultward::reliability

namespace faultward::reliability {
namespace {

// A repository someone else prepared, with what looks like the leftovers of
// runs: none is of this user's runs, so every command names each and leaves
// it as it is, and the exit status is the command's own.
TEST(KilledPass, plantedCopiesAndTemporariesAreNamedAndLeftAlone) {
    TempFolder folder;
    const fs::path project = folder.write("App.vbp", "Module=M; M.bas\r\n");
    folder.write("M.bas", "Sub A()\r\nEnd Sub\r\n");
    folder.write("build.sh", "make\n");
    const std::vector<std::string> planted = {
        ".M.bas.faultward-99997.old", ".README.md.faultward-99998.old",
        ".build.sh.faultward-99999.old", ".important.faultward-999.tmp"};
    for (const std::string& name : planted)
        folder.write(name, "planted\n");
    std::string named;
    for (const std::string& name : planted) {
        const bool copy = name.ends_with(".old");
        const std::string file = name.substr(1, name.find(".faultward-") - 1);
        named +=
            "faultward-cli: " + (folder / name).string() +
            (copy ? " looks like a copy of old contents that Faultward keeps while it writes " +
                        (folder / file).string() + ", but"
                  : " looks like a temporary file of Faultward's, but") +
            " no interrupted run of yours left it; it was left untouched.\n";
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check", project.string()},
          {"insert", "--dry-run", project.string()},
          {"insert", "--mode", "0", project.string()}}) {
        const ChildResult result = runCli(args);
        EXPECT_EQ(result.exitStatus, 0) << args[0];
        EXPECT_EQ(result.err, named) << args[0];
        for (const std::string& name : planted)
            EXPECT_EQ(testing::readFile(folder / name), "planted\n") << name;
        EXPECT_EQ(testing::readFile(folder / "build.sh"), "make\n");
        EXPECT_FALSE(fs::exists(folder / "README.md"));
    }
    // The module got its handlers from its own text.
    EXPECT_TRUE(testing::readFile(folder / "M.bas").starts_with("Sub A()\r\nON ERROR"));
}

} // namespace
} // namespace faultward::reliability

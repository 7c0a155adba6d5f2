// Temporaries that an interrupted run left: only those of processes that are
// gone are removed, and only names this program makes.
#include "platform/executable_folder.h"
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

TEST(StaleTemporaries, onlyThoseOfEndedProcessesGo) {
    TempFolder folder;
    SuspendedProcess running;
    SuspendedProcess ended;
    ASSERT_NE(running.id(), 0u);
    ASSERT_NE(ended.id(), 0u);
    const DWORD endedId = ended.id();
    ended.end();

    const auto temporary = [](DWORD id) { return win32::temporaryName(L"Form1.frm", id); };
    const std::wstring gone = temporary(endedId);
    const std::wstring alive = temporary(running.id());
    const std::wstring mine = temporary(::GetCurrentProcessId());
    const std::vector<std::wstring> kept = {alive,
                                            mine,
                                            L".Form1.frm.faultward-.tmp",
                                            L".Form1.frm.faultward-12x.tmp",
                                            L"Form1.frm.faultward-1.tmp",
                                            L".faultward-1.tmp",
                                            L"Form1.frm"};
    for (const std::wstring& name : kept)
        folder.write(fs::path(name).string(), "x");
    folder.write(fs::path(gone).string(), "x");

    removeStaleTemporaries(folder.path());
    EXPECT_FALSE(fs::exists(folder.path() / gone));
    for (const std::wstring& name : kept)
        EXPECT_TRUE(fs::exists(folder.path() / name)) << fs::path(name).string();
}

// A run that ended while writing a file in place left its old bytes in a
// copy: they go back into the file, or take its name when it is gone.
TEST(StaleTemporaries, oldBytesOfEndedProcessesArePutBack) {
    TempFolder folder;
    SuspendedProcess running;
    SuspendedProcess ended;
    const DWORD endedId = ended.id();
    ended.end();
    const auto copyOf = [](const wchar_t* name, DWORD id) {
        return fs::path(*win32::oldBytesCopyName(name, id)).string();
    };
    const fs::path file = folder.write("A.bas", "half wri");
    ASSERT_TRUE(::CreateHardLinkW((folder / "Link.bas").c_str(), file.c_str(), nullptr));
    folder.write(copyOf(L"A.bas", endedId), "old bytes");
    folder.write(copyOf(L"Gone.bas", endedId), "gone's old bytes");
    folder.write("B.bas", "being written");
    folder.write(copyOf(L"B.bas", running.id()), "B's old bytes");

    const std::vector<PutBackFile> putBack = removeStaleTemporaries(folder.path());
    ASSERT_EQ(putBack.size(), 2u);
    for (const PutBackFile& put : putBack)
        EXPECT_TRUE(put.whole) << put.file.string();
    EXPECT_EQ(readFile(folder / "Link.bas"), "old bytes");
    EXPECT_EQ(readFile(folder / "Gone.bas"), "gone's old bytes");
    EXPECT_EQ(readFile(folder / "B.bas"), "being written");
    EXPECT_FALSE(fs::exists(folder / copyOf(L"A.bas", endedId)));
    EXPECT_TRUE(fs::exists(folder / copyOf(L"B.bas", running.id())));
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

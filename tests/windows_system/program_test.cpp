// faultward-cli.exe as a program: its settings beside it, wide arguments,
// and standard streams that pass bytes as they are to files and show text on
// a console.
#include "platform/executable_folder.h"
#include "platform/path_bytes.h"
#include "platform/standard_streams.h"
#include "platform/user_folders.h"
#include "platform/win32_output_buffer.h"
#include "support/process.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include <windows.h>

using faultward::testing::runProcess;
namespace fs = std::filesystem;

namespace faultward {
namespace {

fs::path cli() {
    return executableFolder() / "faultward-cli.exe";
}

// /proc/self/exe does not exist here: the folder must come from the module's
// own file name, not from the current folder.
TEST(WindowsProgram, settingsAreReadBesideTheExecutable) {
    TempFolder bin;
    TempFolder project;
    fs::copy_file(cli(), bin / "faultward-cli.exe");
    bin.write("ERRH.ini", "[OS]\r\nError_Flag=2\r\n");
    project.write("ERRH.ini", "[OS]\r\nError_Flag=0\r\n");
    const fs::path vbp = project.write("App.vbp", crlf({"Module=M; M.bas"}));
    project.write("M.bas", crlf({"Sub A()", "End Sub"}));

    const auto run = runProcess(bin / "faultward-cli.exe", {"insert", "App.vbp"}, project.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(readFile(project / "M.bas").find("I_Process_Errors"), std::string::npos);
}

// An installed copy in a folder its user cannot write keeps the user's
// settings in the user's own folder; trying is the only sure test.
TEST(WindowsProgram, settingsFolderOfTheUserAndTheTestForWritableFolders) {
    const auto folder = userSettingsFolder();
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->is_absolute());
    EXPECT_EQ(folder->filename(), L"Faultward");

    TempFolder writable;
    EXPECT_TRUE(canCreateFilesIn(writable.path()));
    EXPECT_TRUE(fs::is_empty(writable.path())); // the probe is gone
    EXPECT_FALSE(canCreateFilesIn(writable / "missing"));

    // Program Files and the Windows folder are everyone's, whoever can write them.
    wchar_t programFiles[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH), 0u);
    EXPECT_TRUE(isSharedProgramFolder(fs::path(programFiles) / L"Faultward"));
    EXPECT_TRUE(isSharedProgramFolder(fs::path(programFiles)));
    EXPECT_FALSE(isSharedProgramFolder(writable.path()));
}

// main's arguments come in the ANSI code page, which has no Greek or Japanese
// letters: such a project could not be named at all.
TEST(WindowsProgram, projectPathsOutsideTheAnsiCodePageCanBePassed) {
    TempFolder folder;
    const fs::path project = folder.path() / L"\u03a9\u65e5\u672c";
    fs::create_directory(project);
    std::ofstream(project / "App.vbp", std::ios::binary) << crlf({"Module=M; M.bas"});
    std::ofstream(project / "M.bas", std::ios::binary) << crlf({"Sub A()", "End Sub"});

    const std::string vbp = bytesFromPath(project / "App.vbp");
    const auto list = runProcess(cli(), {"list", vbp});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "M.bas\n");
    EXPECT_EQ(runProcess(cli(), {"insert", "--mode", "1", vbp}).exitCode, 0);
    EXPECT_NE(readFile(project / "M.bas").find("RESUME NEXT"), std::string::npos);

    const auto missing = runProcess(cli(), {"list", bytesFromPath(project / L"\u00df.vbp")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("\u03a9\u65e5\u672c\\\u00df.vbp does not exist"), std::string::npos)
        << missing.err;
}

// Redirected output carries the same bytes as on Linux: line feeds without a
// carriage return, and entries as the project file holds them.
TEST(WindowsProgram, redirectedOutputIsTheProjectsBytes) {
    TempFolder folder;
    folder.write("App.vbp", crlf({"Form=caf\xe9.frm", "Module=M; Gone.bas"}));
    std::ofstream(folder.path() / L"caf\u00e9.frm", std::ios::binary)
        << crlf({"Sub A()", "End Sub"});
    const auto list = runProcess(cli(), {"list", "App.vbp"}, folder.path());
    EXPECT_EQ(list.out, "caf\xe9.frm\nGone.bas\n");
    const auto insert = runProcess(cli(), {"remove", "App.vbp"}, folder.path());
    EXPECT_EQ(insert.exitCode, 1);
    EXPECT_EQ(insert.err, "faultward-cli: Gone.bas: not found\n");
}

// The C runtime's isatty says yes for NUL, which would put progress lines
// into a file nobody reads; only a console has a console mode.
TEST(WindowsProgram, onlyAConsoleIsATerminal) {
    TempFolder folder;
    const HANDLE saved = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE nul = ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    const HANDLE file = ::CreateFileW((folder / "out").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, 0, nullptr);
    ::SetStdHandle(STD_OUTPUT_HANDLE, nul);
    EXPECT_FALSE(isTerminal(StandardStream::Output));
    ::SetStdHandle(STD_OUTPUT_HANDLE, file);
    EXPECT_FALSE(isTerminal(StandardStream::Output));
    ::SetStdHandle(STD_OUTPUT_HANDLE, saved);
    ::CloseHandle(nul);
    ::CloseHandle(file);
}

TEST(WindowsProgram, fileOutputKeepsLineFeedsAsTheyAre) {
    TempFolder folder;
    const HANDLE file = ::CreateFileW((folder / "out").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, 0, nullptr);
    {
        win32::OutputBuffer buffer(file);
        std::ostream out(&buffer);
        out << "a\nb\r\n" << std::string(10000, 'x') << "\xe9\n";
    }
    ::CloseHandle(file);
    EXPECT_EQ(readFile(folder / "out"), "a\nb\r\n" + std::string(10000, 'x') + "\xe9\n");
}

// The console is given characters, never half of one, wherever the buffer
// happens to be flushed.
TEST(WindowsProgram, consoleIsGivenWholeCharacters) {
    std::u16string shown;
    int writes = 0;
    {
        win32::OutputBuffer buffer([&](std::u16string_view text) {
            shown.append(text);
            ++writes;
            return true;
        });
        std::ostream out(&buffer);
        for (int i = 0; i < 3000; ++i)
            out << "\xce\xa9"; // 6000 bytes: the 4096-byte buffer fills inside one
        out << std::flush << "\xe6\x97" << std::flush << "\xa5\n" << std::flush << "\xe2";
    }
    EXPECT_GE(writes, 2);
    EXPECT_EQ(shown, std::u16string(3000, u'\u03a9') + u"\u65e5\n\uFFFD");
}

} // namespace
} // namespace faultward

// Entries read the way Windows reads them: drive letters and shares are real
// paths, names are in the ANSI code page, and letter case is the file
// system's business.
#include "app/settings/settings.h"
#include "outcome_list.h"
#include "platform/display_text.h"
#include "platform/entry_path.h"
#include "platform/path_bytes.h"
#include "platform/win32_long_path.h"
#include "project/release_copy.h"
#include "rewrite/passes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>

#include <windows.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

using Outcomes = testing::OutcomeList;

TEST(WindowsEntries, driveLettersAndRootedEntriesNameRealFiles) {
    TempFolder folder;
    TempFolder other;
    other.write("Shared.bas", kOneSubSource);
    const fs::path shared = fs::absolute(other / "Shared.bas");
    ASSERT_TRUE(shared.has_root_name());
    const std::string withDrive = bytesFromPath(shared);
    // The same file from the root of the project's drive.
    const std::string rooted = withDrive.substr(2);
    ASSERT_EQ(rooted.front(), '\\');

    Outcomes outcomes;
    runInsertionPass(std::vector<ListEntry>{{withDrive, true}, {rooted, true}}, folder.path(),
                     InsertionOptions(HandlingMode::ResumeNext), outcomes);
    EXPECT_EQ(outcomes.list, (std::vector{FileOutcome::Rewritten, FileOutcome::SameFileAsBefore}));
    EXPECT_NE(readFile(shared).find("ON ERROR GOTO ERR_A"), std::string::npos);
}

TEST(WindowsEntries, entriesAreInTheAnsiCodePage) {
    ASSERT_EQ(::GetACP(), 1252u) << "the expected bytes below are code page 1252";
    TempFolder folder;
    const fs::path file = folder.path() / L"Caf\u00e9 \u00c6\u20ac.frm";
    std::ofstream(file, std::ios::binary) << kOneSubSource;
    const std::string entry = "caf\xe9 \xc6\x80.FRM";
    const auto found = resolveEntryPath(entry, folder.path());
    ASSERT_TRUE(found);
    EXPECT_TRUE(fs::equivalent(*found, file));
    EXPECT_EQ(entryDisplayText(entry), "caf\xc3\xa9 \xc3\x86\xe2\x82\xac.FRM");

    Outcomes outcomes;
    runRemovalPass(std::vector<ListEntry>{{entry, true}, {"missing\xe9.frm", true}}, folder.path(),
                   outcomes);
    EXPECT_EQ(outcomes.list, (std::vector{FileOutcome::Unchanged, FileOutcome::NotFound}));
}

TEST(WindowsEntries, extendedPathsCoverDrivesSharesAndDevices) {
    EXPECT_EQ(win32::extendedPath(L"C:\\p\\.\\sub\\..\\a.bas"), L"\\\\?\\C:\\p\\a.bas");
    EXPECT_EQ(win32::extendedPath(L"C:/p/a.bas"), L"\\\\?\\C:\\p\\a.bas");
    EXPECT_EQ(win32::extendedPath(L"\\\\server\\share\\p\\a.bas"),
              L"\\\\?\\UNC\\server\\share\\p\\a.bas");
    EXPECT_EQ(win32::extendedPath(L"\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
    // An entry joined to an extended project folder still climbs with "..";
    // without one, the name stays as written, trailing dot and all.
    EXPECT_EQ(win32::extendedPath(L"\\\\?\\C:\\p\\sub\\..\\a.bas"), L"\\\\?\\C:\\p\\a.bas");
    EXPECT_EQ(win32::extendedPath(L"\\\\?\\UNC\\s\\sh\\p\\..\\a.bas"), L"\\\\?\\UNC\\s\\sh\\a.bas");
    EXPECT_EQ(win32::extendedPath(L"\\\\?\\C:\\p\\nul.bas."), L"\\\\?\\C:\\p\\nul.bas.");
    EXPECT_TRUE(win32::isDevicePath(win32::extendedPath(L"C:\\p\\NUL.bas")));
    EXPECT_FALSE(win32::isDevicePath(win32::extendedPath(L"C:\\p\\NULL.bas")));
    EXPECT_EQ(win32::folderOf(L"\\\\?\\C:\\a.bas"), L"\\\\?\\C:\\");
    EXPECT_EQ(win32::joinPath(L"\\\\?\\C:\\", L"a.bas"), L"\\\\?\\C:\\a.bas");
}

// The settings lie beside the executable, joined as text as on every system.
TEST(WindowsEntries, settingsPathIsJoinedWithABackslash) {
    EXPECT_EQ(settingsFilePath(L"C:\\").native(), L"C:\\\\ERRH.ini");
    EXPECT_EQ(settingsFilePath(L"C:\\Program Files\\fw").native(),
              L"C:\\Program Files\\fw\\ERRH.ini");
}

// Paths are kept as WTF-8 bytes: any name Windows can hold comes back.
TEST(WindowsEntries, pathBytesKeepEveryName) {
    const std::wstring names[] = {L"C:\\\u03a9\u65e5\\a.bas", std::wstring(L"C:\\x") + L'\xD800'};
    for (const std::wstring& name : names)
        EXPECT_EQ(pathFromBytes(bytesFromPath(name)).native(), name);
    EXPECT_EQ(bytesFromPath(L"C:\\\u00e9"), "C:\\\xc3\xa9");
    EXPECT_EQ(pathDisplayText(bytesFromPath(std::wstring(L"x") + L'\xD800')), "x\xef\xbf\xbd");
}

// The file system ignores letter case, so a release copy into the project's
// folder spelt otherwise would still land among the sources.
TEST(WindowsEntries, outputFolderInsideTheProjectIsFoundInAnyLetterCase) {
    TempFolder folder;
    folder.write("App/App.vbp", "Form=F.frm\r\n");
    std::string spelt = bytesFromPath(fs::absolute(folder / "App"));
    for (char& c : spelt)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto problem = outputFolderProblem(pathFromBytes(spelt + "\\release"), {folder / "App"});
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find("inside the project's folder"), std::string::npos) << *problem;
}

} // namespace
} // namespace faultward

// Source files with bytes and sizes no editor would produce: NUL and 8-bit
// bytes, a million lines, lines of megabytes, nothing but marked lines, and a
// file larger than the memory the process may use.
#include "app/texts/texts.h"
#include "child_process.h"
#include "project_tree.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace faultward::reliability {
namespace {

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t found = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++found;
    return found;
}

ChildResult insertHandlers(const fs::path& project, const char* mode = "0") {
    return runCli({"insert", "--mode", mode, project.string()});
}

ChildResult removeHandlers(const fs::path& project) {
    return runCli({"remove", project.string()});
}

TEST(BadSource, nulAndEightBitBytesComeBackAfterInsertAndRemove) {
    TempFolder folder;
    using namespace std::string_literals;
    const std::string clean = "Private Sub A()\r\n    s = \"\0\x01\xff\x80\x81\xfe\"\r\n"
                              "    t = \"\xe9t\xe9 \xa9\" ' \0\r\nEnd Sub\r\n"s;
    std::mt19937 random(9);
    std::string noise(64 * 1024, '\0');
    for (char& byte : noise)
        byte = static_cast<char>(random());
    noise += "\r\nSub Z()\rEnd Sub\n\rEnd Sub\r";
    ASSERT_EQ(noise.find("'~Faultward~"), std::string::npos);
    folder.write("Clean.bas", clean);
    folder.write("Noise.bas", noise);
    folder.write("NoiseRemovedOnly.bas", noise);
    const fs::path both =
        folder.write("Both.vbp", "Module=C; Clean.bas\r\nModule=N; Noise.bas\r\n");
    const fs::path once = folder.write("Once.vbp", "Module=R; NoiseRemovedOnly.bas\r\n");

    ASSERT_EQ(insertHandlers(both).exitStatus, 0);
    EXPECT_NE(readFile(folder / "Clean.bas").find("ON ERROR GOTO ERR_A  '~Faultward~\r\n"),
              std::string::npos);
    ASSERT_EQ(removeHandlers(both).exitStatus, 0);
    ASSERT_EQ(removeHandlers(once).exitStatus, 0);
    EXPECT_EQ(readFile(folder / "Clean.bas"), clean);
    // Every byte is kept, lone carriage returns and line feeds too.
    EXPECT_EQ(readFile(folder / "Noise.bas"), noise);
    EXPECT_EQ(readFile(folder / "NoiseRemovedOnly.bas"), noise);
}

TEST(BadSource, millionLinesGetHandlersInTheFirst32000AndKeepTheRest) {
    TempFolder folder;
    std::string original;
    std::size_t restStart = 0;
    for (int line = 0; line < 1000000; ++line) {
        if (line == 32000)
            restStart = original.size();
        static const char* const kCycle[] = {"Sub P()\r\n", "    x = 1\r\n", "End Sub\r\n"};
        original += kCycle[line % 3];
    }
    folder.write("Big.bas", original);
    const fs::path project = folder.write("Big.vbp", "Module=B; Big.bas\r\n");

    const ChildResult inserted = insertHandlers(project);
    EXPECT_EQ(inserted.exitStatus, 1); // not every procedure got its handler
    EXPECT_EQ(inserted.err, lineLimitMessage("Big.bas") + "\n");
    const std::string processed = readFile(folder / "Big.bas");
    // 32000 lines hold 10666 whole procedures and the head of one more, whose
    // end lies past the limit: it gets no trap, which would lack its label.
    EXPECT_EQ(count(processed, "ON ERROR GOTO ERR_P  '~Faultward~"), 10666u);
    EXPECT_EQ(count(processed, "EXIT SUB  '~Faultward~"), 10666u);
    const std::string rest = original.substr(restStart);
    ASSERT_GE(processed.size(), rest.size());
    EXPECT_TRUE(processed.ends_with(rest));

    const ChildResult removed = removeHandlers(project);
    EXPECT_EQ(removed.exitStatus, 0);
    EXPECT_EQ(removed.err, "");
    EXPECT_EQ(readFile(folder / "Big.bas"), original);
}

TEST(BadSource, linesOfSeveralMegabytesPassThroughWhole) {
    TempFolder folder;
    const std::string name(3 * 1024 * 1024, 'N');
    const std::string original = "Private Sub " + name + "()\r\n    s = \"" +
                                 std::string(8 * 1024 * 1024, 'x') + "\"\r\nEnd Sub\r\n";
    folder.write("Long.frm", original);
    const fs::path project = folder.write("Long.vbp", "Form=Long.frm\r\n");

    ASSERT_EQ(insertHandlers(project, "2").exitStatus, 0);
    const std::string processed = readFile(folder / "Long.frm");
    EXPECT_NE(processed.find("\r\nON ERROR GOTO ERR_" + name + "  '~Faultward~\r\n"),
              std::string::npos);
    EXPECT_NE(processed.find("\r\nERR_" + name + ":  '~Faultward~\r\n"), std::string::npos);
    ASSERT_EQ(removeHandlers(project).exitStatus, 0);
    EXPECT_EQ(readFile(folder / "Long.frm"), original);
}

TEST(BadSource, fileOfMarkedLinesOnlyBecomesEmptyButStays) {
    TempFolder folder;
    std::string marked;
    for (int i = 0; i < 10000; ++i)
        marked += "x = " + std::to_string(i) + "  '~Faultward~\r\n";
    folder.write("Marked.bas", marked);
    fs::permissions(folder / "Marked.bas",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path project = folder.write("M.vbp", "Module=M; Marked.bas\r\n");

    ASSERT_EQ(removeHandlers(project).exitStatus, 0);
    ASSERT_TRUE(fs::is_regular_file(folder / "Marked.bas"));
    EXPECT_EQ(fs::file_size(folder / "Marked.bas"), 0u);
    EXPECT_EQ(fs::status(folder / "Marked.bas").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

bool builtWithAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

// Files the process cannot hold in memory: one too large to read at all, one
// that can be read but whose rewritten form does not fit beside it.
TEST(BadSource, filesTooLargeForMemoryAreReportedAndTheOthersStillDone) {
    if (builtWithAddressSanitizer())
        GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
    TempFolder folder;
    const std::string procedure = "Sub A()\r\nEnd Sub\r\n";
    folder.write("A.bas", procedure);
    folder.write("Z.bas", procedure);
    // Sparse, so they cost no disk space: NUL bytes, after a marked line in
    // the large one, whose old handler is dropped in a copy of the rest.
    for (const auto& [name, size, start] : {std::tuple{"Huge.bas", 1024L << 20, ""},
                                            {"Large.bas", 200L << 20, "x  '~Faultward~\r\n"}}) {
        folder.write(name, start);
        ASSERT_EQ(::truncate((folder / name).c_str(), size), 0);
    }
    const fs::path project = folder.write(
        "P.vbp",
        "Module=A; A.bas\r\nModule=H; Huge.bas\r\nModule=L; Large.bas\r\nModule=Z; Z.bas\r\n");
    const EntryState hugeBefore = entryState(folder / "Huge.bas", false);
    const EntryState largeBefore = entryState(folder / "Large.bas", false);

    ChildOptions options;
    options.args = {"insert", "--mode", "1", project.string()};
    options.addressSpaceLimit = rlim_t{384} << 20;
    const ChildResult result = runChild(options);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "faultward-cli: Huge.bas: too large\n"
                          "faultward-cli: Large.bas: too large\n");
    EXPECT_TRUE(sameEntry(hugeBefore, entryState(folder / "Huge.bas", false), true));
    EXPECT_TRUE(sameEntry(largeBefore, entryState(folder / "Large.bas", false), true));
    for (const char* name : {"A.bas", "Z.bas"})
        EXPECT_NE(readFile(folder / name).find("ON ERROR GOTO ERR_A"), std::string::npos) << name;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"A.bas", "Huge.bas", "Large.bas", "P.vbp", "Z.bas"}));
}

} // namespace
} // namespace faultward::reliability

// Reads arbitrary bytes as a project file, sorts the entries as the list does
// and resolves each against a small project folder: nothing crashes, entries
// keep their length limit, the list order is a consistent sort, and a
// resolved path always names something that exists.
#include "fuzz_check.h"
#include "platform/entry_path.h"
#include "platform/windows1252.h"
#include "project/file_list.h"
#include "project/project_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <sys/stat.h>

using namespace faultward;

namespace {

// Lives for the whole run.
std::filesystem::path gProjectFolder;

void makeProjectFolder() {
    gProjectFolder = scratchFolderRemovedAtExit();
    std::filesystem::create_directories(gProjectFolder / "Forms");
    for (const char* name :
         {"Form1.frm", "Module1.bas", "Forms/About.frm", "\xc3\xa9t\xc3\xa9.frm"})
        std::ofstream(gProjectFolder / name) << "Sub Main()\r\nEnd Sub\r\n";
}

bool pathExists(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

int sign(int value) {
    return (value > 0) - (value < 0);
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80          ? 1
                                   : (lead >> 5) == 0x6 ? 2
                                   : (lead >> 4) == 0xE ? 3
                                                        : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2)
                return false;
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    makeProjectFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> entries = projectEntries(input);

    std::size_t prefixes = 0;
    for (std::size_t at = input.find('='); at != std::string_view::npos;
         at = input.find('=', at + 1))
        ++prefixes;
    FUZZ_CHECK(entries.size() <= prefixes);
    for (const std::string& entry : entries) {
        FUZZ_CHECK(entry.size() <= kMaxEntryLength);
        FUZZ_CHECK(input.find(entry) != std::string_view::npos);
    }

    const std::vector<ListEntry> list = sortedListEntries(entries);
    FUZZ_CHECK(list.size() == entries.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        FUZZ_CHECK(list[i].selected);
        if (i > 0)
            FUZZ_CHECK(compareListText(list[i - 1].text, list[i].text) <= 0);
        if (i + 1 < list.size()) {
            const int forward = compareListText(list[i].text, list[i + 1].text);
            FUZZ_CHECK(sign(forward) == -sign(compareListText(list[i + 1].text, list[i].text)));
        }
    }
    // Sorting only reorders.
    std::vector<std::string> before = entries;
    std::vector<std::string> after;
    for (const ListEntry& entry : list)
        after.push_back(entry.text);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    FUZZ_CHECK(before == after);

    for (const std::string& entry : entries) {
        // Entries that climb out of the folder would make each run list the
        // whole file system; they are resolved in the tests, not here.
        if (entry.find("..") != std::string::npos || entry.starts_with('/') ||
            entry.starts_with('\\'))
            continue;
        if (const auto path = resolveEntryPath(entry, gProjectFolder))
            FUZZ_CHECK(pathExists(*path));
        const std::string utf8 = windows1252ToUtf8(entry);
        FUZZ_CHECK(isValidUtf8(utf8));
        if (std::none_of(entry.begin(), entry.end(), [](char c) { return (c & 0x80) != 0; }))
            FUZZ_CHECK(utf8 == entry);
    }
    return 0;
}

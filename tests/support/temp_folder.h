#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace faultward::testing {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    // Writes bytes to a file below the folder, making folders on the way.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);

// Joins lines, each followed by CR LF.
std::string crlf(std::initializer_list<std::string_view> lines);

// Text whose lines end in line feeds, with the endings of this system's text
// files: CR LF on Windows.
std::string systemLines(std::string_view text);

// Every file below a folder, by its path relative to the folder.
std::map<std::string, std::string> treeOf(const std::filesystem::path& folder);

// The smallest source with a procedure to work on, as the editor saves it.
inline const std::string kOneSubSource = "Sub A()\r\nEnd Sub\r\n";

// Puts back the current folder it found when it goes: opening a project makes
// the project's folder the current one. Declare it after the TempFolder the
// test works in, so that the folder is left before it is removed.
class KeptCurrentFolder {
public:
    KeptCurrentFolder();
    ~KeptCurrentFolder();
    KeptCurrentFolder(const KeptCurrentFolder&) = delete;
    KeptCurrentFolder& operator=(const KeptCurrentFolder&) = delete;

private:
    std::filesystem::path start_;
};

} // namespace faultward::testing

namespace faultward {

// Nearly every test works in scratch folders, so these are at hand anywhere
// in the program's namespace.
using testing::crlf;
using testing::KeptCurrentFolder;
using testing::kOneSubSource;
using testing::readFile;
using testing::systemLines;
using testing::TempFolder;
using testing::treeOf;

} // namespace faultward

#include "support/temp_folder.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace faultward::testing {

// A name no other folder has: creating it fails when one does, and the next
// name is tried. Only the owner may enter it, as mkdtemp would make it.
TempFolder::TempFolder() {
    static std::mt19937_64 numbers{std::random_device{}()};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "faultward-test-%012llx",
                      static_cast<unsigned long long>(numbers() & 0xFFFFFFFFFFFFull));
        std::error_code error;
        if (std::filesystem::create_directory(base / name, error)) {
            path_ = base / name;
            std::filesystem::permissions(path_, std::filesystem::perms::owner_all, error);
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code error;
    // Tests make files read-only; give write back so everything can go.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_symlink())
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, error);
    }
    std::filesystem::remove_all(path_, error);
}

std::filesystem::path TempFolder::write(std::string_view name, std::string_view bytes) const {
    const std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    return text;
}

std::string systemLines(std::string_view text) {
#ifdef _WIN32
    std::string lines;
    for (const char c : text) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    return lines;
#else
    return std::string(text);
#endif
}

std::map<std::string, std::string> treeOf(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& file : std::filesystem::recursive_directory_iterator(folder))
        if (file.is_regular_file())
            files[std::filesystem::relative(file.path(), folder).generic_string()] =
                readFile(file.path());
    return files;
}

KeptCurrentFolder::KeptCurrentFolder() {
    std::error_code error;
    start_ = std::filesystem::current_path(error);
}

KeptCurrentFolder::~KeptCurrentFolder() {
    std::error_code error;
    std::filesystem::current_path(start_, error);
}

} // namespace faultward::testing

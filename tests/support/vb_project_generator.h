#pragma once

#include <cstdint>
#include <filesystem>

namespace faultward::testing {

struct GeneratorOptions {
    // Forms and modules the project names; one class file comes besides.
    int files = 12;
    // About how many lines each of them holds; single files vary around it.
    int lines = 300;
    // The same seed gives the same bytes on every machine.
    std::uint64_t seed = 1;
};

// Writes a made-up project of the shape Visual Basic 5 and 6 saved, with CR LF
// line ends and code page 1252 text, into outDir (made if missing): the .vbp
// at the top, forms beside it and in Dialogs\, modules in Modules\ and a
// class in Classes\. Returns the path of the .vbp.
std::filesystem::path generateVbProject(const std::filesystem::path& outDir,
                                        const GeneratorOptions& options);

} // namespace faultward::testing

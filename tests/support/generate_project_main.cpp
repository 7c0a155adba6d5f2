// Writes a made-up Visual Basic project for benchmarks and screenshots and
// prints the path of its .vbp.
#include "platform/path_bytes.h"
#include "platform/standard_streams.h"
#include "support/vb_project_generator.h"

#include <charconv>
#include <cstring>
#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view kUsage =
    "usage: faultward-generate-project OUT_DIR [--files N] [--lines L] [--seed S]\n";

template <typename Number> bool parseNumber(const char* text, Number& value) {
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, value);
    return error == std::errc() && stop == end;
}

} // namespace

int main(int argc, char** argv) {
    faultward::testing::GeneratorOptions options;
    const char* outDir = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        bool ok = true;
        if (arg == "--files" && hasValue)
            ok = parseNumber(argv[++i], options.files) && options.files > 0;
        else if (arg == "--lines" && hasValue)
            ok = parseNumber(argv[++i], options.lines) && options.lines > 0;
        else if (arg == "--seed" && hasValue)
            ok = parseNumber(argv[++i], options.seed);
        else if (!arg.starts_with("--") && !outDir)
            outDir = argv[i];
        else
            ok = false;
        if (!ok) {
            std::cerr << kUsage;
            return 2;
        }
    }
    if (!outDir) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        // Through the program's own standard output, which writes a line feed
        // as it is on every system.
        faultward::standardStream(faultward::StandardStream::Output)
            << faultward::bytesFromPath(faultward::testing::generateVbProject(outDir, options))
            << '\n'
            << std::flush;
    } catch (const std::exception& error) {
        std::cerr << "faultward-generate-project: " << error.what() << '\n';
        return 1;
    }
    return 0;
}

// Where a removal's time goes, file by file: reading, the transform, and the
// safe write. Run it on a copy of a marked project's sources, for example
//   pass_phases $(find copy -name '*.frm' -o -name '*.bas')
// It rewrites the files as the removal pass does, timing each phase apart.
#include "platform/source_file.h"
#include "rewrite/output_pieces.h"
#include "rewrite/transforms.h"

#include <chrono>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    const auto milliseconds = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    Clock::duration reading{}, transforming{}, writing{};
    std::string content;
    faultward::OutputPieces out;
    const auto start = Clock::now();
    for (int i = 1; i < argc; ++i) {
        const auto read = Clock::now();
        if (faultward::readRegularFile(argv[i], content) != faultward::ReadStatus::Ok)
            return 1;
        const auto transform = Clock::now();
        out.clear();
        const bool changed = faultward::removeMarkedLines(content, out).changed;
        const auto write = Clock::now();
        if (changed &&
            faultward::replaceFileContents(argv[i], out.pieces()) != faultward::WriteStatus::Ok)
            return 1;
        const auto done = Clock::now();
        reading += transform - read;
        transforming += write - transform;
        writing += done - write;
    }
    std::printf("files %d  total %.2f ms  read %.2f  transform %.2f  write %.2f\n", argc - 1,
                milliseconds(Clock::now() - start), milliseconds(reading),
                milliseconds(transforming), milliseconds(writing));
}

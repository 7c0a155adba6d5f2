// The floors a safe rewrite is measured against: for each file, read it,
// write new bytes to a temporary in the same folder, flush it, rename it over
// the original. No checks, no line rules, nothing else.
//
//   rewrite_floor FILE...                 writes the same bytes back (copy)
//   rewrite_floor --drop-marked FILE...   leaves out every line holding the
//       marker, found with the simplest scan (a tilde search, then the line
//       around it): the least a removal can cost
//   rewrite_floor --grow RATIO FILE...    writes RATIO times the file's size
//       (the bytes, then as many of them again as it takes): the least an
//       insertion that adds that much can cost
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kMarker = "'~Faultward~";

// The runs of text to keep: all of it, or all but the lines holding the marker.
void keptRuns(const char* text, std::size_t size, bool dropMarked, std::vector<iovec>& runs) {
    runs.clear();
    std::size_t kept = 0;
    for (std::size_t from = 0; dropMarked;) {
        const auto* tilde = static_cast<const char*>(std::memchr(text + from, '~', size - from));
        if (!tilde)
            break;
        const std::size_t marker = static_cast<std::size_t>(tilde - text) - 1;
        from = marker + 2;
        if (tilde == text || marker + kMarker.size() > size ||
            std::memcmp(text + marker, kMarker.data(), kMarker.size()) != 0)
            continue;
        const auto* before = static_cast<const char*>(memrchr(text + kept, '\n', marker - kept));
        const std::size_t start = before ? static_cast<std::size_t>(before - text) + 1 : kept;
        const auto* after =
            static_cast<const char*>(std::memchr(text + marker, '\n', size - marker));
        const std::size_t end = after ? static_cast<std::size_t>(after - text) + 1 : size;
        if (start > kept)
            runs.push_back({const_cast<char*>(text + kept), start - kept});
        kept = from = end;
    }
    if (size > kept)
        runs.push_back({const_cast<char*>(text + kept), size - kept});
}

// The file's bytes, then again from the start until extra more are written.
void grownRuns(char* text, std::size_t size, std::size_t extra, std::vector<iovec>& runs) {
    runs.assign(1, {text, size});
    while (extra > 0 && size > 0) {
        const std::size_t step = std::min(extra, size);
        runs.push_back({text, step});
        extra -= step;
    }
}

} // namespace

int main(int argc, char** argv) {
    int first = 1;
    const bool dropMarked = argc > 1 && std::string_view(argv[1]) == "--drop-marked";
    double grow = 0;
    if (argc > 2 && std::string_view(argv[1]) == "--grow") {
        grow = std::atof(argv[2]);
        first = 3;
    }
    first += dropMarked;
    std::string buffer;
    std::vector<iovec> runs;
    for (int i = first; i < argc; ++i) {
        const int in = open(argv[i], O_RDONLY);
        struct stat info {};
        if (in < 0 || fstat(in, &info) != 0)
            return 1;
        if (buffer.size() < static_cast<std::size_t>(info.st_size) + 1)
            buffer.resize(static_cast<std::size_t>(info.st_size) + 1);
        const ssize_t size = read(in, buffer.data(), buffer.size());
        close(in);
        if (size < 0)
            return 1;
        const auto bytes = static_cast<std::size_t>(size);
        if (grow > 1)
            grownRuns(buffer.data(), bytes, static_cast<std::size_t>(bytes * (grow - 1)), runs);
        else
            keptRuns(buffer.data(), bytes, dropMarked, runs);
        const std::string temporary = std::string(argv[i]) + ".tmp";
        const int out = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        for (std::size_t at = 0; at < runs.size(); at += 1024)
            if (writev(out, runs.data() + at,
                       static_cast<int>(std::min<std::size_t>(1024, runs.size() - at))) < 0)
                return 1;
        fsync(out);
        close(out);
        rename(temporary.c_str(), argv[i]);
    }
}

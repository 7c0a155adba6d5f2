// The least a safe rewrite can cost: read each file, write its bytes to a
// temporary in the same folder, flush it, rename it over the original. No
// checks, no line rules. bench/run times it beside cp -r and the real passes.
//
// With --drop-marked it leaves out every line holding the marker, found with
// the simplest scan (a tilde search, then the line around it): the least a
// removal can cost, as it must also read the longer, marked files.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

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

} // namespace

int main(int argc, char** argv) {
    int first = 1;
    const bool dropMarked = argc > 1 && std::string_view(argv[1]) == "--drop-marked";
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
        keptRuns(buffer.data(), static_cast<std::size_t>(size), dropMarked, runs);
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

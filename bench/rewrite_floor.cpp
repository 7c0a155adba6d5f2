// The least a safe rewrite can cost: read each file, write the same bytes to a
// temporary in the same folder, flush it, rename it over the original. No
// scanning, no checks. bench/run times it beside cp -r and the real passes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <string>
int main(int argc, char** argv) {
    std::string buf;
    for (int i = 1; i < argc; ++i) {
        int fd = open(argv[i], O_RDONLY); struct stat st; fstat(fd, &st);
        if (buf.size() < (size_t)st.st_size + 1) buf.resize(st.st_size + 1);
        ssize_t n = read(fd, buf.data(), buf.size()); close(fd);
        std::string tmp = std::string(argv[i]) + ".tmp";
        int out = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (write(out, buf.data(), n) != n) return 1;
        fsync(out); close(out);
        rename(tmp.c_str(), argv[i]);
    }
}

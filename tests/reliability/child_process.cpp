#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sched.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace faultward::reliability {
namespace {

constexpr uid_t kNobody = 65534;

void closeIfOpen(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// Reads what is available without blocking; false once the pipe is at its end.
bool drain(int fd, std::string& into) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            into.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void becomeChild(const ChildOptions& options, char* const* argv, char* const* envp,
                              int outFd, int errFd) {
    ::dup2(outFd, STDOUT_FILENO);
    ::dup2(errFd, STDERR_FILENO);
    const int devNull = ::open("/dev/null", O_RDONLY);
    if (devNull >= 0)
        ::dup2(devNull, STDIN_FILENO);
    if (options.fileSizeLimit) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(125);
    }
    if (options.yieldsToParent) {
        cpu_set_t first;
        CPU_ZERO(&first);
        CPU_SET(0, &first);
        const sched_param idle{};
        if (::sched_setaffinity(0, sizeof first, &first) != 0 ||
            ::sched_setscheduler(0, SCHED_IDLE, &idle) != 0)
            ::_exit(125);
    }
    if (options.addressSpaceLimit) {
        const rlimit limit{*options.addressSpaceLimit, *options.addressSpaceLimit};
        if (::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(125);
    }
    if (options.unprivileged && ::geteuid() == 0) {
        const auto& groups = options.supplementaryGroups;
        if (::setgroups(groups.size(), groups.data()) != 0 || ::setgid(kNobody) != 0 ||
            ::setuid(kNobody) != 0)
            ::_exit(125);
    }
    ::execve(argv[0], argv, envp);
    ::_exit(127);
}

} // namespace

std::filesystem::path cliPath() {
    return FAULTWARD_CLI;
}

namespace {

// A copy of faultward-cli in a fresh folder under the system's temporary
// folder, open to every user: the build folder may lie where the unprivileged
// user cannot go (root's home, a 0700 folder), and then it could not start the
// program at all. Made once a test program, removed when it ends.
class ReachableCliCopy {
public:
    ReachableCliCopy() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "faultward-cli-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder for the faultward-cli copy");
        folder_ = pattern;
        const auto open = std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                          std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                          std::filesystem::perms::others_exec;
        std::filesystem::permissions(folder_, open);
        path_ = folder_ / "faultward-cli";
        std::filesystem::copy_file(cliPath(), path_);
        std::filesystem::permissions(path_, open);
    }
    ~ReachableCliCopy() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
};

} // namespace

std::filesystem::path reachableCliPath() {
    static const ReachableCliCopy copy;
    return copy.path();
}

uid_t unprivilegedUser() {
    return ::geteuid() == 0 ? kNobody : ::geteuid();
}
gid_t unprivilegedGroup() {
    return ::geteuid() == 0 ? kNobody : ::getegid();
}

ChildProcess::ChildProcess(const ChildOptions& options) {
    std::vector<std::string> words;
    const bool dropsPrivileges = options.unprivileged && ::geteuid() == 0;
    if (!options.program.empty())
        words.push_back(options.program.string());
    else
        words.push_back(dropsPrivileges ? reachableCliPath().string() : cliPath().string());
    words.insert(words.end(), options.args.begin(), options.args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    // The environment is put together before fork: the child may only make
    // async-signal-safe calls until it execs.
    std::vector<std::string> variables = options.environment;
    for (char** variable = environ; *variable; ++variable)
        variables.emplace_back(*variable); // the first of a name wins
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    int outPipe[2];
    int errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make pipes");
    pid_ = ::fork();
    if (pid_ < 0)
        throw std::runtime_error("cannot fork");
    if (pid_ == 0)
        becomeChild(options, argv.data(), envp.data(), outPipe[1], errPipe[1]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    outFd_ = outPipe[0];
    errFd_ = errPipe[0];
    ::fcntl(outFd_, F_SETFL, O_NONBLOCK);
    ::fcntl(errFd_, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    closeIfOpen(outFd_);
    closeIfOpen(errFd_);
}

void ChildProcess::sendSignal(int signal) {
    if (pid_ > 0)
        ::kill(pid_, signal);
}

ChildResult ChildProcess::wait(std::chrono::seconds hangGuard) {
    ChildResult result;
    const auto deadline = std::chrono::steady_clock::now() + hangGuard;
    while (outFd_ >= 0 || errFd_ >= 0) {
        pollfd fds[2];
        nfds_t count = 0;
        for (int fd : {outFd_, errFd_})
            if (fd >= 0)
                fds[count++] = pollfd{fd, POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.hung = true;
            ::kill(pid_, SIGKILL);
            break;
        }
        if (::poll(fds, count, static_cast<int>(left.count())) < 0 && errno != EINTR)
            break;
        if (outFd_ >= 0 && !drain(outFd_, result.out))
            closeIfOpen(outFd_);
        if (errFd_ >= 0 && !drain(errFd_, result.err))
            closeIfOpen(errFd_);
    }
    closeIfOpen(outFd_);
    closeIfOpen(errFd_);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    result.exited = WIFEXITED(status);
    result.exitStatus = result.exited ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return result;
}

ChildResult runChild(const ChildOptions& options) {
    return ChildProcess(options).wait();
}

ChildResult runCli(std::vector<std::string> args) {
    ChildOptions options;
    options.args = std::move(args);
    return runChild(options);
}

pid_t endedProcessId() {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

} // namespace faultward::reliability

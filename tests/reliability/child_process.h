#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>
#include <vector>

namespace faultward::reliability {

// How to start a child: the program (faultward-cli unless said otherwise), its
// arguments and the limits it runs under.
struct ChildOptions {
    std::filesystem::path program;
    std::vector<std::string> args;
    // RLIMIT_FSIZE, with SIGXFSZ ignored so that writes fail instead of killing.
    std::optional<rlim_t> fileSizeLimit;
    // RLIMIT_AS, so that large allocations fail.
    std::optional<rlim_t> addressSpaceLimit;
    // When the tests run as root, the child runs as the unprivileged user
    // "nobody", so that permission bits apply to it.
    bool unprivileged = false;
    // The groups the unprivileged child is a member of besides its own.
    std::vector<gid_t> supplementaryGroups;
    // Variables to set in the child's environment, as "NAME=value".
    std::vector<std::string> environment;
    // Runs on the first processor only, and only when nothing else there
    // wants to: a parent there that wakes up stops it at once.
    bool yieldsToParent = false;
};

struct ChildResult {
    bool exited = false;
    int exitStatus = -1;
    int signal = 0;
    bool hung = false; // killed by the hang guard
    std::string out;
    std::string err;
};

// The faultward-cli of this build.
std::filesystem::path cliPath();
// A copy of it that any user can start, wherever the build folder lies.
std::filesystem::path reachableCliPath();

// The user id that ChildOptions::unprivileged switches to.
uid_t unprivilegedUser();
gid_t unprivilegedGroup();

// A running child whose standard output and error are collected. A child still
// running when the object goes is killed.
class ChildProcess {
public:
    explicit ChildProcess(const ChildOptions& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    void sendSignal(int signal);
    // Collects output until the child ends. A child that runs longer than
    // hangGuard is killed and reported as hung, so a fault cannot stall the suite.
    ChildResult wait(std::chrono::seconds hangGuard = std::chrono::seconds(120));

private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
};

// Starts the child and waits for it.
ChildResult runChild(const ChildOptions& options);

// faultward-cli with the given arguments, waited for.
ChildResult runCli(std::vector<std::string> args);

// A process id that no running process has: a child that has ended.
pid_t endedProcessId();

} // namespace faultward::reliability

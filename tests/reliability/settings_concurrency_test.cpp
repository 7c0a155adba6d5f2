// Settings files changed by several programs at once: faultward-cli init run
// many times together, and ERRH.ini rewritten in place by another program
// while the desktop's save runs. No change is lost and no line is torn.
#include "app/settings/profile_store.h"
#include "app/settings/settings.h"
#include "child_process.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace faultward::reliability {
namespace {

// 60 inits at once, each keeping one setting, most of them a step of its
// own so that each changes the file: every other setting is in the file
// afterwards, none put back by a write made from what it read before.
TEST(SettingsConcurrency, sixtyInitsAtOnceKeepEveryUpdate) {
    TempFolder folder;
    const fs::path project = folder.write("App.vbp", "Module=M; M.bas\r\n");
    const std::vector<std::vector<std::string>> once = {
        {"--start", "100"},    {"--mode", "2"},    {"--procedures", "sub"},
        {"--kinds", "module"}, {"--skip-handled"}, {"--line-numbers"},
    };
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (std::size_t i = 0; i < 60; ++i) {
        ChildOptions child;
        child.program = cliPath();
        child.args = {"init"};
        if (i % 10 == 5 && i / 10 < once.size())
            child.args.insert(child.args.end(), once[i / 10].begin(), once[i / 10].end());
        else
            child.args.insert(child.args.end(), {"--step", std::to_string(i + 1)});
        child.args.push_back(project.string());
        children.push_back(std::make_unique<ChildProcess>(child));
    }
    for (auto& child : children) {
        const ChildResult result = child->wait();
        EXPECT_EQ(result.exitStatus, 0) << result.err;
    }
    const std::string kept = readFile(folder / "App.faultward");
    for (const char* line : {"Step=", "Start=100\r\n", "Mode=2\r\n", "Procedures=Sub\r\n",
                             "Files=bas\r\n", "SkipHandled=1\r\n", "LineNumbers=1\r\n"})
        EXPECT_NE(kept.find(line), std::string::npos) << line << kept;
}

// What the other program tells the test across the fork: how many rewrites
// it finished and how many of them it stalled in, a pause of its own long
// enough for the save to take the half-written file for a settled one.
struct WriterRecord {
    std::atomic<int> finished{0};
    std::atomic<int> stalled{0};
};

// A gap between two writes of one rewrite this long is a stall: the save
// reads a file once it has been still for 100 ms, and a program that stops
// writing that long in the middle cannot be told from one that is done.
constexpr auto kStall = std::chrono::milliseconds(50);

[[noreturn]] void rewriteInPlaceForever(const fs::path& ini, const std::string& text,
                                        WriterRecord& record) {
    for (;;) {
        auto last = std::chrono::steady_clock::now();
        bool stalled = false;
        const auto progress = [&] {
            const auto now = std::chrono::steady_clock::now();
            stalled = stalled || now - last > kStall;
            last = now;
        };
        const int fd = ::open(ini.c_str(), O_WRONLY | O_TRUNC);
        progress();
        for (std::size_t at = 0; fd >= 0 && at < text.size(); at += 2048) {
            const std::size_t size = std::min<std::size_t>(2048, text.size() - at);
            if (::write(fd, text.data() + at, size) < 0)
                break;
            progress();
            ::usleep(1000);
        }
        if (fd >= 0)
            ::close(fd);
        if (stalled)
            ++record.stalled;
        ++record.finished;
        ::usleep(250000);
    }
}

// Another program rewrites ERRH.ini in place again and again, a chunk at a
// time, with a pause between rewrites; the desktop's save of its two keys
// meanwhile keeps every key the other wrote, and no half line. A round in
// which the other program was held up mid-rewrite (a loaded machine) proves
// nothing either way and is not counted.
TEST(SettingsConcurrency, aSaveWhileAnotherRewritesInPlaceLosesNoKeyAndTearsNoLine) {
    TempFolder folder;
    const fs::path ini = folder / "ERRH.ini";
    std::string theirs = "[Hand]\r\n";
    for (int i = 0; i < 3000; ++i)
        theirs += "Key" + std::to_string(i) + "=value of key " + std::to_string(i) + "\r\n";
    folder.write("ERRH.ini", theirs);

    void* shared = ::mmap(nullptr, sizeof(WriterRecord), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    auto* record = new (shared) WriterRecord;
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0)
        rewriteInPlaceForever(ini, theirs, *record);

    int conclusive = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(6);
    for (int round = 0; std::chrono::steady_clock::now() < until; ++round) {
        const int stalledBefore = record->stalled;
        IniFileStore store(ini);
        store.beginEdit();
        const std::string project = "C:\\P" + std::to_string(round) + ".vbp";
        saveSettings(store, {project, HandlingMode::ResumeNext});
        if (store.commitEdit())
            continue;
        const std::string now = readFile(ini);
        if (now.find("Project_File=" + project + "\r\n") == std::string::npos)
            continue; // rewritten by the other since
        const bool whole = now.starts_with(theirs) && now.ends_with("Error_Flag=1\r\n");
        if (!whole) {
            // Let the rewrite under way finish, so that a stall in it is on record.
            const int finished = record->finished;
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (record->finished == finished && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (record->stalled != stalledBefore)
                continue;
        }
        ++conclusive;
        EXPECT_TRUE(now.starts_with(theirs)) << round;
        EXPECT_TRUE(now.ends_with("Error_Flag=1\r\n")) << round;
    }
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    ::munmap(shared, sizeof(WriterRecord));
    EXPECT_GT(conclusive, 0);
}

} // namespace
} // namespace faultward::reliability

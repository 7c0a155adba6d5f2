#include "app/desktop/sys_info_launcher.h"
#include "support/fake_registry.h"
#include "support/temp_folder.h"
#include "ui/desktop_sys_info_platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace faultward::about {
namespace {

using testing::FakeRegistry;
using testing::storedString;

constexpr char kPathKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

// Everything the launcher reaches, recorded; no program starts, no box shows.
class FakePlatform final : public SysInfoPlatform {
public:
    Registry& registry() override { return fakeRegistry; }
    std::optional<std::string> findOrdinaryFile(const std::string& path) override {
        searched.push_back(path);
        if (const auto file = files.find(path); file != files.end())
            return file->second;
        return std::nullopt;
    }
    bool startProgram(const std::string& commandLine) override {
        started.push_back(commandLine);
        return startable.contains(commandLine);
    }
    void showUnavailable() override { ++messages; }

    FakeRegistry fakeRegistry;
    std::map<std::string, std::string> files; // Windows path -> path found
    std::set<std::string> startable;
    std::vector<std::string> searched;
    std::vector<std::string> started;
    int messages = 0;
};

bool openedFolderKey(const FakeRegistry& registry) {
    return std::find(registry.calls.begin(), registry.calls.end(),
                     std::string("open ") + kFolderKey) != registry.calls.end();
}

TEST(StartSysInfo, pathValue_startsThatProgramWithoutReadingTheFolderValue) {
    FakePlatform platform;
    platform.fakeRegistry.set(kPathKey, "PATH", kRegSz, storedString("C:\\Tools\\SysInfo.exe"));
    platform.fakeRegistry.set(kFolderKey, "MSINFO", kRegSz, storedString("C:\\Other"));
    platform.startable = {"C:\\Tools\\SysInfo.exe"};

    StartSysInfo(platform);
    StartSysInfo(platform);

    EXPECT_EQ(platform.started,
              (std::vector<std::string>{"C:\\Tools\\SysInfo.exe", "C:\\Tools\\SysInfo.exe"}));
    EXPECT_TRUE(platform.searched.empty()); // the path is not checked before starting
    EXPECT_FALSE(openedFolderKey(platform.fakeRegistry));
    EXPECT_EQ(platform.messages, 0);
}

TEST(StartSysInfo, pathValueThatCannotStart_endsInTheMessageWithoutTheFolderValue) {
    FakePlatform platform;
    platform.fakeRegistry.set(kPathKey, "PATH", kRegSz, storedString("C:\\Gone\\SysInfo.exe"));
    platform.fakeRegistry.set(kFolderKey, "MSINFO", kRegSz, storedString("C:\\Tools"));
    platform.files = {{"C:\\Tools\\MSINFO32.EXE", "/tools/MSINFO32.EXE"}};

    StartSysInfo(platform);

    EXPECT_EQ(platform.started, std::vector<std::string>{"C:\\Gone\\SysInfo.exe"});
    EXPECT_FALSE(openedFolderKey(platform.fakeRegistry));
    EXPECT_EQ(platform.messages, 1);
}

TEST(StartSysInfo, folderValue_startsTheMsinfo32FileThatIsFoundThere) {
    FakePlatform platform;
    platform.fakeRegistry.set(kFolderKey, "MSINFO", kRegSz, storedString("C:\\Tools"));
    platform.files = {{"C:\\Tools\\MSINFO32.EXE", "/tools/MSINFO32.EXE"}};
    platform.startable = {"/tools/MSINFO32.EXE"};

    StartSysInfo(platform);

    EXPECT_EQ(platform.searched, std::vector<std::string>{"C:\\Tools\\MSINFO32.EXE"});
    EXPECT_EQ(platform.started, std::vector<std::string>{"/tools/MSINFO32.EXE"});
    EXPECT_EQ(platform.messages, 0);
}

TEST(StartSysInfo, everyDeadEnd_endsInTheMessageAndStartsNothingElse) {
    {
        SCOPED_TRACE("both values absent");
        FakePlatform platform;
        StartSysInfo(platform);
        EXPECT_TRUE(platform.started.empty());
        EXPECT_EQ(platform.messages, 1);
    }
    {
        SCOPED_TRACE("no MSINFO32.EXE in the folder");
        FakePlatform platform;
        platform.fakeRegistry.set(kFolderKey, "MSINFO", kRegSz, storedString("C:\\Tools"));
        StartSysInfo(platform);
        EXPECT_TRUE(platform.started.empty());
        EXPECT_EQ(platform.messages, 1);
    }
    {
        SCOPED_TRACE("an expandable string leaves the path empty");
        FakePlatform platform;
        platform.fakeRegistry.set(kPathKey, "PATH", kRegExpandSz,
                                  storedString("%ProgramFiles%\\SysInfo.exe"));
        platform.fakeRegistry.set(kFolderKey, "MSINFO", kRegSz, storedString("C:\\Tools"));
        StartSysInfo(platform);
        EXPECT_EQ(platform.started, std::vector<std::string>{""});
        EXPECT_FALSE(openedFolderKey(platform.fakeRegistry));
        EXPECT_EQ(platform.messages, 1);
    }
    {
        SCOPED_TRACE("zero-length data fails at run time");
        FakePlatform platform;
        platform.fakeRegistry.set(kPathKey, "PATH", kRegSz, "");
        platform.fakeRegistry.set(kFolderKey, "MSINFO", kRegSz, storedString("C:\\Tools"));
        platform.files = {{"C:\\Tools\\MSINFO32.EXE", "/tools/MSINFO32.EXE"}};
        StartSysInfo(platform);
        EXPECT_TRUE(platform.started.empty());
        EXPECT_FALSE(openedFolderKey(platform.fakeRegistry));
        EXPECT_EQ(platform.messages, 1);
    }
}

// The real program start and file search, with the registry and the message
// still under the test's control.
class LaunchOnThisSystem final : public DesktopSysInfoPlatform {
public:
    Registry& registry() override { return fakeRegistry; }
    void showUnavailable() override { ++messages; }

    FakeRegistry fakeRegistry;
    int messages = 0;
};

bool waitForFile(const std::filesystem::path& path) {
    QElapsedTimer timer;
    timer.start();
    while (!std::filesystem::exists(path) && timer.elapsed() < 10000)
        QThread::msleep(20);
    return std::filesystem::exists(path);
}

std::filesystem::path writeMarkerScript(const faultward::testing::TempFolder& folder,
                                        const std::string& name) {
    const auto script =
        folder.write(name, "#!/bin/sh\necho started > \"$(dirname \"$0\")/started\"\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    return script;
}

TEST(StartSysInfoOnThisSystem, pathValue_reallyStartsTheProgramWithoutWaiting) {
    faultward::testing::TempFolder folder;
    const auto script = writeMarkerScript(folder, "sysinfo tool");
    LaunchOnThisSystem platform;
    platform.fakeRegistry.set(kPathKey, "PATH", kRegSz, storedString(script.string()));

    StartSysInfo(platform);

    EXPECT_EQ(platform.messages, 0);
    EXPECT_TRUE(waitForFile(folder / "started"));
}

TEST(StartSysInfoOnThisSystem, folderValue_findsMsinfo32RegardlessOfLetterCase) {
    faultward::testing::TempFolder folder;
    writeMarkerScript(folder, "tools/msinfo32.exe");
    LaunchOnThisSystem platform;
    platform.fakeRegistry.set(kFolderKey, "MSINFO", kRegSz,
                              storedString((folder / "tools").string()));

    StartSysInfo(platform);

    EXPECT_EQ(platform.messages, 0);
    EXPECT_TRUE(waitForFile(folder / "tools" / "started"));
}

TEST(StartSysInfoOnThisSystem, missingProgramOrFolderInItsPlace_endsInTheMessage) {
    faultward::testing::TempFolder folder;
    std::filesystem::create_directories(folder / "tools" / "MSINFO32.EXE");
    LaunchOnThisSystem platform;
    platform.fakeRegistry.set(kFolderKey, "MSINFO", kRegSz,
                              storedString((folder / "tools").string()));
    StartSysInfo(platform);
    EXPECT_EQ(platform.messages, 1);

    LaunchOnThisSystem missing;
    missing.fakeRegistry.set(kPathKey, "PATH", kRegSz, storedString((folder / "nothing").string()));
    StartSysInfo(missing);
    EXPECT_EQ(missing.messages, 1);
}

} // namespace
} // namespace faultward::about

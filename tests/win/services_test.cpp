#include "win_test_support.h"

#include "support/temp_folder.h"
#include "win/help_key.h"
#include "win/message_loop.h"
#include "win/program_windows.h"
#include "win/resource_sound.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace faultward::wintest {
namespace {

using faultward::testing::TempFolder;

std::string sourceFile(const std::string& relative) {
    // The source tree is a Unix path; wine shows the Unix root as drive Z:.
    std::ifstream in("Z:" FW_SOURCE_DIR "/" + relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Resources, cuesAreTheRecordedBytes_andAMissingCueThrows) {
    win::ResourceCueStore cues;
    const std::string click = sourceFile("resources/sounds/cue11_click.wav");
    const std::string chime = sourceFile("resources/sounds/cue12_chime.wav");
    ASSERT_FALSE(click.empty());
    EXPECT_EQ(cues.load(11), click);
    EXPECT_EQ(cues.load(12), chime);
    EXPECT_THROW(cues.load(13), std::runtime_error);
}

TEST(Resources, cuesPlayFromTheirOwnBytes_andStopHarmlesslyWhenSilent) {
    win::ResourceCueStore store;
    int pending = 0;
    win::SystemWaveOutput output([&pending] { ++pending; });
    SoundCues cues(store, output);
    cues.Play_Sound(11);
    cues.Play_Sound(11);
    EXPECT_EQ(cues.Sound_Data(), store.load(11));
    cues.Play_Sound(12);
    cues.Stop_Sound();
    cues.Stop_Sound();
    EXPECT_EQ(cues.Sound_Data(), store.load(12));
    // Every cue let the windows handle what was waiting.
    EXPECT_EQ(pending, 3);
}

TEST(Resources, versionResourceIsTheProgramsVersion) {
    const auto version = win::moduleVersion(GetModuleHandleW(nullptr));
    ASSERT_TRUE(version);
    EXPECT_EQ(version->major, 1);
    EXPECT_EQ(version->minor, 0);
    EXPECT_EQ(version->revision, 11);
}

TEST(FileDialog, filterBecomesZeroSeparatedPartsEndedTwice) {
    const std::wstring filter = win::dialogFilter("All (*.*)|*.*|Projects|*.vbp");
    EXPECT_EQ(filter, std::wstring(L"All (*.*)\0*.*\0Projects\0*.vbp\0\0", 30));
}

TEST(HelpKey, opensAFileThatIsThere_namesAPathThatIsNot) {
    TempFolder folder;
    RecordingMessages messages;
    std::vector<std::wstring> opened;
    const auto opener = [&opened](HWND, const std::wstring& file) {
        opened.push_back(file);
        return true;
    };
    win::HelpKey missing(folder / "faultwardhelp.html", messages, opener);
    missing.showHelp(nullptr);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("faultwardhelp.html"), std::string::npos);
    EXPECT_NE(messages.shown[0].text.find("could not be found"), std::string::npos);

    folder.write("faultwardhelp.html", "<html></html>");
    win::HelpKey present(folder / "faultwardhelp.html", messages, opener);
    // F1 pressed opens it once; a held key's repeats do not.
    MSG press{nullptr, WM_KEYDOWN, VK_F1, 1, 0, {}};
    MSG repeat{nullptr, WM_KEYDOWN, VK_F1, (1 << 30) | 1, 0, {}};
    MSG other{nullptr, WM_KEYDOWN, VK_F2, 1, 0, {}};
    EXPECT_TRUE(present.handleKey(press));
    EXPECT_TRUE(present.handleKey(repeat));
    EXPECT_FALSE(present.handleKey(other));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], (folder / "faultwardhelp.html").wstring());
    EXPECT_EQ(messages.shown.size(), 1u);

    // The system that cannot show the page says so too.
    win::HelpKey refused(folder / "faultwardhelp.html", messages,
                         [](HWND, const std::wstring&) { return false; });
    refused.showHelp(nullptr);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[1].text.find("could not be opened"), std::string::npos);
}

TEST(HelpKey, sectionOpensThePageAtItsAnchor_orNamesTheMissingFile) {
    TempFolder folder;
    RecordingMessages messages;
    std::vector<std::wstring> opened;
    const auto opener = [&opened](HWND, const std::wstring& target) {
        opened.push_back(target);
        return true;
    };
    win::HelpKey help(folder / "faultward help.html", messages, opener);
    help.showHelpSection("handlersettings");
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("faultward help.html"), std::string::npos);

    folder.write("faultward help.html", "<html></html>");
    help.showHelpSection("handlersettings");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].rfind(L"file:///", 0), 0u) << narrow(opened[0]);
    EXPECT_TRUE(opened[0].ends_with(L"/faultward%20help.html#handlersettings"))
        << narrow(opened[0]);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(MessageLoop, sentHelpKeyOpensTheHelpOnce_andAQuitWaitsForTheLoop) {
    TempFolder folder;
    folder.write("faultwardhelp.html", "<html></html>");
    RecordingMessages messages;
    int opened = 0;
    win::HelpKey help(folder / "faultwardhelp.html", messages,
                      [&opened](HWND, const std::wstring&) {
                          ++opened;
                          return true;
                      });
    win::MessageLoop loop(help);
    help.sendHelpKey();
    loop.handlePending();
    EXPECT_EQ(opened, 1);
    loop.handlePending();
    EXPECT_EQ(opened, 1);

    // Handling what waits while a cue starts must not swallow the end of the program.
    PostQuitMessage(3);
    loop.handlePending();
    EXPECT_EQ(loop.run(), 3);
}

TEST(ProgramWindows, endsWhenTheLastWindowHasClosed) {
    int ended = 0;
    win::ProgramWindows windows([&ended] { ++ended; });
    windows.opened();
    windows.opened();
    windows.closed();
    EXPECT_EQ(ended, 0);
    windows.closed();
    EXPECT_EQ(ended, 1);
}

} // namespace
} // namespace faultward::wintest

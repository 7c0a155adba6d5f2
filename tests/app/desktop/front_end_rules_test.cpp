#include "app/desktop/about_buttons.h"
#include "app/desktop/desktop_core.h"
#include "app/desktop/handler_settings_captions.h"
#include "app/desktop/tool_row_rules.h"
#include "fake_desktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

namespace faultward::coretest {
namespace {

TEST(ToolRowRules, openAndHelpWorkFromTheStart_aProjectEnablesEveryOtherButton) {
    std::vector<int> atStart, byProject(std::begin(kEnabledByProject), std::end(kEnabledByProject));
    for (const ToolButton& tool : kToolButtons)
        if (enabledBeforeAnyProject(tool))
            atStart.push_back(tool.index);
    EXPECT_EQ(atStart, (std::vector<int>{0, 7}));
    EXPECT_EQ(byProject, (std::vector<int>{2, 4}));
}

TEST(ToolRowRules, captionSize_isTheLargestHalfPointThatFits_from8DownTo6) {
    std::vector<double> tried;
    const auto fitsFrom = [&tried](double largest) {
        return [&tried, largest](double points) {
            tried.push_back(points);
            return points <= largest;
        };
    };
    EXPECT_EQ(toolCaptionPoints(fitsFrom(9)), 8);
    EXPECT_EQ(tried, std::vector<double>{8});
    tried.clear();
    EXPECT_EQ(toolCaptionPoints(fitsFrom(6.5)), 6.5);
    EXPECT_EQ(tried, (std::vector<double>{8, 7.5, 7, 6.5}));
    // Nothing fits: the smallest size, without asking below it.
    tried.clear();
    EXPECT_EQ(toolCaptionPoints(fitsFrom(1)), 6);
    EXPECT_TRUE(std::all_of(tried.begin(), tried.end(), [](double p) { return p >= 6; }));
}

// A System Information lookup that finds nothing in the registry.
class EmptySystem final : public about::SysInfoPlatform, public about::Registry {
public:
    about::Registry& registry() override { return *this; }
    std::optional<std::string> findOrdinaryFile(const std::string&) override { return {}; }
    bool startProgram(const std::string&) override { return false; }
    void showUnavailable() override { ++unavailable; }
    long openKey(about::RegistryKey, std::string_view, std::uint32_t, std::uint32_t,
                 about::RegistryKey&) override {
        ++lookups;
        return about::kErrorFileNotFound;
    }
    long queryValue(about::RegistryKey, std::string_view, std::uint32_t&, unsigned char*,
                    std::uint32_t&) override {
        return about::kErrorFileNotFound;
    }
    long closeKey(about::RegistryKey) override { return about::kErrorSuccess; }

    int lookups = 0;
    int unavailable = 0;
};

TEST(AboutButtons, closeClosesTheWindow_sysInfoLooksForTheProgram_othersDoNothing) {
    EmptySystem system;
    int closed = 0;
    const auto close = [&closed] { ++closed; };
    about::cmd_abt_Click(1, system, close);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(system.lookups, 0);
    about::cmd_abt_Click(2, system, close);
    EXPECT_EQ(closed, 1);
    EXPECT_GT(system.lookups, 0);
    EXPECT_EQ(system.unavailable, 1);
    for (int other : {0, 3})
        about::cmd_abt_Click(other, system, close);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(system.unavailable, 1);
}

TEST(DesktopCore, madeWithTheMainCaption_commandsRunOnItsProjectFiles) {
    MemoryStore store;
    FakeDesktop desktop;
    Module1 module{store, "/app"};
    ConsentRecords consent(std::nullopt);
    DesktopCore core(module, desktop, desktop, desktop, desktop, consent);
    EXPECT_EQ(desktop.log, std::vector<std::string>{"caption Faultward"});

    TempFolder folder;
    folder.write("A.bas", crlf({"Sub A()", "End Sub"}));
    core.projectFiles().showProject({"A.bas"}, (folder / "P.vbp").string(), folder.path());
    core.logic().cmd_nav(Command::Insert);
    EXPECT_NE(readFile(folder / "A.bas").find("ON ERROR GOTO ERR_A"), std::string::npos);
}

// Counts the failures it hears.
class FailureCounter final : public CommandObserver {
public:
    void fileFailed(const FailureCollector::Failure&) override { ++heard; }
    int heard = 0;
};

TEST(CommandObserver, gathersEachFileThatFailsOnce_andEachCommandItsOwn) {
    TempFolder folder;
    const std::vector<ListEntry> missing{{"Gone.bas"}};
    FailureCounter observer;
    for (int command = 0; command < 2; ++command) {
        // Insert runs two passes; the missing file fails in both.
        const FailureCollector failures =
            runPassCommand(PassCommand::Insert, {missing, folder.path(), {}}, observer);
        ASSERT_EQ(failures.failures().size(), 1u);
        EXPECT_EQ(failures.failures()[0].entry, "Gone.bas");
        EXPECT_EQ(observer.heard, command + 1);
    }
}

// Both dialogs are captioned from the table: it must name every control once,
// and no two controls may answer the same access key.
TEST(SettingsCaptions, everyControlHasOne_noTwoShareAnAccessKey) {
    std::set<char> keys;
    int next = 0;
    for (const ControlCaption& each : kSettingsCaptions) {
        EXPECT_EQ(static_cast<int>(each.control), next++);
        EXPECT_FALSE(each.caption.empty());
        const std::size_t amp = each.caption.find('&');
        if (amp == std::string_view::npos)
            continue;
        ASSERT_LT(amp + 1, each.caption.size()) << each.caption;
        const char key =
            static_cast<char>(std::tolower(static_cast<unsigned char>(each.caption[amp + 1])));
        EXPECT_TRUE(keys.insert(key).second) << "'" << key << "' again in " << each.caption;
        EXPECT_EQ(each.caption.find('&', amp + 1), std::string_view::npos) << each.caption;
    }
    EXPECT_EQ(next, static_cast<int>(SettingsControl::Help) + 1);
}

} // namespace
} // namespace faultward::coretest

#include "app/desktop/handler_settings_captions.h"
#include "app/desktop/handler_settings_dialog.h"
#include "ui/dialog_frame.h"
#include "ui/handler_settings_window.h"
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>

namespace faultward::uitest {
namespace {

// The dialog over the program's main window, as Options > Handler Settings
// builds it, without the modal loop.
class HandlerSettingsWindowTest : public ::testing::Test {
protected:
    void open(const HandlerSettings& settings, std::string_view projectFile = {}) {
        core = std::make_unique<HandlerSettingsDialog>(settings, program.window(), program.help());
        if (!projectFile.empty())
            core->offerKeepWithProject(projectFile, true);
        window =
            std::make_unique<HandlerSettingsWindow>(*core, program.messages(), &program.window());
        window->show();
    }

    template <typename Control> Control& control(const char* name) {
        auto* found = window->findChild<Control*>(QString::fromUtf8(name));
        if (!found)
            throw std::logic_error(std::string("no control ") + name);
        return *found;
    }

    RunningProgram program;
    std::unique_ptr<HandlerSettingsDialog> core;
    std::unique_ptr<HandlerSettingsWindow> window;
};

HandlerSettings unusualSettings() {
    HandlerSettings settings;
    settings.procedures = ProcedureKind::Function;
    settings.files = SourceKinds{SourceKind::Class, SourceKind::UserControl};
    settings.skipHandled = true;
    settings.handler = HandlerSource::Template;
    settings.templatePath = "/templates/log.txt";
    settings.lineNumbers = true;
    return settings;
}

struct BoxField {
    const char* name;
    std::function<bool(const HandlerSettings&)> field;
};

const BoxField kBoxes[] = {
    {"chk_proc_sub", [](const auto& s) { return s.procedures.has(ProcedureKind::Sub); }},
    {"chk_proc_function", [](const auto& s) { return s.procedures.has(ProcedureKind::Function); }},
    {"chk_proc_property", [](const auto& s) { return s.procedures.has(ProcedureKind::Property); }},
    {"chk_file_frm", [](const auto& s) { return s.files.has(SourceKind::Form); }},
    {"chk_file_bas", [](const auto& s) { return s.files.has(SourceKind::Module); }},
    {"chk_file_cls", [](const auto& s) { return s.files.has(SourceKind::Class); }},
    {"chk_file_ctl", [](const auto& s) { return s.files.has(SourceKind::UserControl); }},
    {"chk_file_doc", [](const auto& s) { return s.files.has(SourceKind::Document); }},
    {"chk_skip_handled", [](const auto& s) { return s.skipHandled; }},
    {"chk_line_numbers", [](const auto& s) { return s.lineNumbers; }},
};

TEST_F(HandlerSettingsWindowTest, controlsShowTheSettings_andEveryChangeReachesTheCore) {
    open(unusualSettings());
    EXPECT_EQ(window->windowTitle(), "Handler Settings");
    for (const BoxField& box : kBoxes) {
        QCheckBox& check = control<QCheckBox>(box.name);
        const bool before = box.field(core->settings());
        EXPECT_EQ(check.isChecked(), before) << box.name;
        check.click();
        EXPECT_EQ(box.field(core->settings()), !before) << box.name;
    }
    EXPECT_TRUE(control<QRadioButton>("opt_handler_template").isChecked());
    EXPECT_EQ(control<QLineEdit>("txt_template").text(), "/templates/log.txt");

    control<QRadioButton>("opt_handler_mode").click();
    EXPECT_EQ(core->settings().handler, HandlerSource::Mode);
    control<QRadioButton>("opt_handler_template").click();
    EXPECT_EQ(core->settings().handler, HandlerSource::Template);
    QLineEdit& path = control<QLineEdit>("txt_template");
    path.clear();
    QTest::keyClicks(&path, "/other.txt");
    EXPECT_EQ(core->settings().templatePath, "/other.txt");
}

TEST_F(HandlerSettingsWindowTest, captionsComeFromTheCoresTable_theFrameIsTheFixedDialogs) {
    open({});
    const std::pair<const char*, SettingsControl> named[] = {
        {"fra_procedures", SettingsControl::ProceduresGroup},
        {"chk_proc_sub", SettingsControl::Sub},
        {"chk_proc_function", SettingsControl::Function},
        {"chk_proc_property", SettingsControl::Property},
        {"fra_files", SettingsControl::FilesGroup},
        {"chk_file_frm", SettingsControl::Forms},
        {"chk_file_bas", SettingsControl::Modules},
        {"chk_file_cls", SettingsControl::Classes},
        {"chk_file_ctl", SettingsControl::UserControls},
        {"chk_file_doc", SettingsControl::Documents},
        {"chk_skip_handled", SettingsControl::SkipHandled},
        {"chk_line_numbers", SettingsControl::LineNumbers},
        {"fra_handler", SettingsControl::HandlerGroup},
        {"opt_handler_mode", SettingsControl::ModeChoice},
        {"opt_handler_template", SettingsControl::TemplateChoice},
        {"cmd_browse", SettingsControl::Browse},
        {"cmd_ok", SettingsControl::Ok},
        {"cmd_cancel", SettingsControl::Cancel},
        {"cmd_help", SettingsControl::Help},
    };
    for (const auto& [name, which] : named) {
        QWidget& widget = control<QWidget>(name);
        auto* group = qobject_cast<QGroupBox*>(&widget);
        auto* button = qobject_cast<QAbstractButton*>(&widget);
        const QString shown = group ? group->title() : button ? button->text() : QString();
        EXPECT_EQ(shown.toStdString(), settingsCaption(which)) << name;
    }
    EXPECT_EQ(window->windowFlags(), kFixedDialogFrame);
}

// Without a project there is nothing to keep the settings with.
TEST_F(HandlerSettingsWindowTest, keepWithTheProject_showsTheCoresCaptionAndReachesIt) {
    open({});
    EXPECT_TRUE(control<QCheckBox>("chk_keep_with_project").isHidden());
    open({}, "/projects/App.faultward");
    QCheckBox& keep = control<QCheckBox>("chk_keep_with_project");
    EXPECT_FALSE(keep.isHidden());
    EXPECT_EQ(keep.text().toStdString(), core->keepWithProjectCaption());
    keep.click(); // from kept
    EXPECT_FALSE(core->keepWithProject());
}

TEST_F(HandlerSettingsWindowTest, okShowsTheCoresMessageAndStaysOpen_thenClosesAccepted) {
    open({});
    control<QCheckBox>("chk_proc_sub").click();
    control<QAbstractButton>("cmd_ok").click();
    ASSERT_EQ(program.messages().texts.size(), 1u);
    EXPECT_EQ(program.messages().texts[0].toStdString(), kNoProcedureKindText);
    EXPECT_EQ(program.messages().icons[0], MessageIcon::Warning);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(core->accepted());

    control<QCheckBox>("chk_proc_function").click();
    // Enter in any control presses the default button, OK.
    QTest::keyClick(&control<QCheckBox>("chk_file_frm"), Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_TRUE(core->accepted());
    EXPECT_EQ(program.messages().texts.size(), 1u);
}

TEST_F(HandlerSettingsWindowTest, cancelAndEscape_closeWithoutAccepting) {
    open({});
    control<QCheckBox>("chk_proc_function").click();
    control<QAbstractButton>("cmd_cancel").click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(core->accepted());

    open({});
    QTest::keyClick(&control<QCheckBox>("chk_proc_sub"), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_FALSE(core->accepted());
}

TEST_F(HandlerSettingsWindowTest,
       pathAndBrowseServeOnlyATemplate_browsePutsTheChosenFileInThePath) {
    HandlerSettings settings;
    settings.templatePath = "/templates/old.txt";
    open(settings);
    QLineEdit& path = control<QLineEdit>("txt_template");
    QAbstractButton& browse = control<QAbstractButton>("cmd_browse");
    EXPECT_FALSE(path.isEnabled());
    EXPECT_FALSE(browse.isEnabled());
    control<QRadioButton>("opt_handler_template").click();
    EXPECT_TRUE(path.isEnabled());
    EXPECT_TRUE(browse.isEnabled());

    program.dialog().answers.push_back(std::nullopt);
    browse.click();
    EXPECT_EQ(path.text(), "/templates/old.txt");
    program.dialog().answers.push_back(QStringLiteral("/templates/new.txt"));
    browse.click();
    EXPECT_EQ(path.text(), "/templates/new.txt");
    EXPECT_EQ(core->settings().templatePath, "/templates/new.txt");

    ASSERT_EQ(program.dialog().requests.size(), 2u);
    EXPECT_EQ(program.dialog().requests[0].fileName, "/templates/old.txt");
    EXPECT_EQ(program.dialog().requests[0].filter.toStdString(), kTemplateFilter);

    control<QRadioButton>("opt_handler_mode").click();
    EXPECT_FALSE(path.isEnabled());
    EXPECT_FALSE(browse.isEnabled());
}

// A name from a disk in another encoding shows with replacement characters;
// only typing in the field may change the stored bytes.
TEST_F(HandlerSettingsWindowTest, aTemplatePathInAnotherEncodingKeepsItsBytesUntilEdited) {
    HandlerSettings settings;
    settings.templatePath = "/templates/caf\xe9.txt";
    open(settings);
    control<QCheckBox>("chk_proc_function").click();
    control<QAbstractButton>("cmd_ok").click();
    EXPECT_TRUE(core->accepted());
    EXPECT_EQ(core->settings().templatePath, "/templates/caf\xe9.txt");
}

TEST_F(HandlerSettingsWindowTest, helpButtonAndF1_openTheHelpOnTheseSettings) {
    open({});
    control<QAbstractButton>("cmd_help").click();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QCheckBox& box = control<QCheckBox>("chk_file_bas");
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_F1);
    EXPECT_EQ(program.help().sections,
              (std::vector<std::string>(2, std::string(kHandlerSettingsHelpSection))));
    EXPECT_TRUE(window->isVisible());
}

} // namespace
} // namespace faultward::uitest

#include "app/desktop/menus.h"
#include "app/settings/handler_settings.h"
#include "fake_desktop.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace faultward::coretest {
namespace {

namespace fs = std::filesystem;

const std::string kTemplate = "[trap]\nOn Error GoTo Fail_{procedure}\n[handler]\n{exit}\n"
                              "Fail_{procedure}:\nLog \"{project}.{procedure}\"\n";

TEST(HandlerSettingsStore, keepsEveryValueInReadableKeysAndReadsThemBack) {
    MemoryStore store;
    EXPECT_EQ(loadHandlerSettings(store), HandlerSettings());
    EXPECT_FALSE(hasHandlerSettings(store));

    HandlerSettings chosen;
    chosen.procedures = {ProcedureKind::Sub, ProcedureKind::Property};
    chosen.files = {SourceKind::Module, SourceKind::Class, SourceKind::UserControl};
    chosen.skipHandled = true;
    chosen.handler = HandlerSource::Template;
    chosen.templatePath = "C:\\T\\Log.txt";
    chosen.lineNumbers = true;
    saveHandlerSettings(store, chosen);
    EXPECT_EQ(store.values,
              (std::map<std::string, std::string>{{"Handler/Procedures", "Sub,Property"},
                                                  {"Handler/Files", "bas,cls,ctl"},
                                                  {"Handler/SkipHandled", "1"},
                                                  {"Handler/Handler", "Template"},
                                                  {"Handler/Template", "C:\\T\\Log.txt"},
                                                  {"Handler/LineNumbers", "1"}}));
    EXPECT_EQ(loadHandlerSettings(store), chosen);
    EXPECT_TRUE(hasHandlerSettings(store));
}

TEST(HandlerSettingsStore, unknownOrMalformedValuesFallBackToTheirDefaultsOneByOne) {
    MemoryStore store;
    store.values = {{"Handler/Procedures", "Sub,Macro"},
                    {"Handler/Files", " , "},
                    {"Handler/SkipHandled", "maybe"},
                    {"Handler/Handler", "Script"},
                    {"Handler/LineNumbers", "2"}};
    EXPECT_EQ(loadHandlerSettings(store), HandlerSettings());

    // Letter case and blanks around the words do not matter.
    store.values = {{"Handler/Procedures", " function , PROPERTY"},
                    {"Handler/Files", "CLS"},
                    {"Handler/SkipHandled", "Yes"},
                    {"Handler/Handler", "template"}};
    const HandlerSettings read = loadHandlerSettings(store);
    EXPECT_EQ(read.procedures, (ProcedureKinds{ProcedureKind::Function, ProcedureKind::Property}));
    EXPECT_EQ(read.files, SourceKinds(SourceKind::Class));
    EXPECT_TRUE(read.skipHandled);
    EXPECT_EQ(read.handler, HandlerSource::Template);
    EXPECT_FALSE(parseSourceKinds("frm,,bas"));
}

TEST(HandlerSettingsStore, closingSavesTheSectionOnlyOnceItDiffersOrWasThere_exitNever) {
    CoreProgram program;
    program.main.MDIForm_Unload();
    EXPECT_FALSE(hasHandlerSettings(program.store)); // ERRH.ini stays as it always was

    HandlerSettings chosen;
    chosen.files = kAllSourceKinds;
    program.module.setHandlerSettings(chosen);
    program.main.cmd_nav(Command::Exit);
    EXPECT_FALSE(hasHandlerSettings(program.store));
    program.main.MDIForm_Unload();
    EXPECT_EQ(program.store.values["Handler/Files"], "frm,bas,cls,ctl,doc");
    EXPECT_EQ(program.store.values["OS/Error_Flag"], "0");

    // Back to the defaults: stored, since the file holds the section.
    CoreProgram next;
    next.store.values = program.store.values;
    next.module.Load_Settings(next.desktop);
    EXPECT_EQ(next.module.handlerSettings(), chosen);
    next.module.setHandlerSettings({});
    next.main.MDIForm_Unload();
    EXPECT_EQ(next.store.values["Handler/Files"], "frm,bas");
}

TEST(HandlerSettingsStore, whatCannotBeUsedIsShownAtStart_aSaveThatFailsWithItsCause) {
    CoreProgram program;
    program.store.values = {{"Handler/Files", "frm,xls"}, {"Handler/LineNumbers", "on"}};
    program.module.Load_Settings(program.desktop);
    program.main.showSettingsWarnings();
    program.store.commitProblem = "not writable";
    program.main.MDIForm_Unload();
    EXPECT_EQ(
        program.desktop.messages,
        (std::vector<std::string>{
            "ERRH.ini [Handler] Files=frm,xls: xls is not frm, bas, cls, ctl or doc; passed over\n"
            "ERRH.ini [Handler] LineNumbers=on: not 0 or 1; 0 is used",
            "The settings could not be saved in ERRH.ini: not writable."}));
}

class SettingsDialog : public OpenedProject {
protected:
    // Opens the dialog through the Options menu and acts in it.
    void inDialog(std::function<void(HandlerSettingsDialog&)> act) {
        program.desktop.onSettings = std::move(act);
        program.main.mnu_o_Click(kHandlerSettingsItem);
    }
};

TEST_F(SettingsDialog, okRefusesWhatCannotWork_withTheMessageWhileTheDialogStaysOpen) {
    const fs::path broken = folder.write("Bad.txt", "[trap]\nOn Error GoTo X\n[handler]\n{nope}\n");
    std::vector<std::optional<std::string>> answers;
    inDialog([&](HandlerSettingsDialog& dialog) {
        dialog.setProcedureKind(ProcedureKind::Sub, false);
        answers.push_back(dialog.ok());
        dialog.setProcedureKind(ProcedureKind::Function, true);
        dialog.setSourceKind(SourceKind::Form, false);
        dialog.setSourceKind(SourceKind::Module, false);
        answers.push_back(dialog.ok());
        dialog.setSourceKind(SourceKind::Class, true);
        dialog.setHandlerSource(HandlerSource::Template);
        answers.push_back(dialog.ok());
        dialog.setTemplatePath(broken.string());
        answers.push_back(dialog.ok());
        dialog.setTemplatePath((folder / "None.txt").string());
        answers.push_back(dialog.ok());
        dialog.cancel();
    });
    EXPECT_EQ(answers,
              (std::vector<std::optional<std::string>>{
                  std::string(kNoProcedureKindText), std::string(kNoSourceKindText),
                  std::string(kNoTemplateText),
                  "The handler template " + broken.string() +
                      ", line 4: unknown placeholder {nope}; known are {procedure}, {module}, "
                      "{file}, {project} and {exit}.",
                  "The handler template " + (folder / "None.txt").string() + ": not found."}));
    // Cancel keeps what was there; the dialog wrote nothing.
    EXPECT_EQ(program.module.handlerSettings(), HandlerSettings());
    EXPECT_EQ(program.desktop.only({"settings", "entries", "message"}),
              (std::vector<std::string>{"settings dialog"}));
}

TEST_F(SettingsDialog, browseChoosesTheTemplate_helpOpensItsSection_okKeepsTheSettings) {
    const fs::path good = folder.write("Log.txt", kTemplate);
    program.desktop.dialogAnswers = {std::nullopt, good.string()};
    program.desktop.log.clear();
    inDialog([&](HandlerSettingsDialog& dialog) {
        EXPECT_FALSE(dialog.templatePathEnabled());
        EXPECT_EQ(dialog.browse(), std::nullopt);
        EXPECT_EQ(dialog.settings().handler, HandlerSource::Mode);
        EXPECT_FALSE(dialog.templatePathEnabled());
        EXPECT_EQ(dialog.browse(), good.string());
        EXPECT_TRUE(dialog.templatePathEnabled());
        dialog.help();
        dialog.setLineNumbers(true);
        EXPECT_EQ(dialog.ok(), std::nullopt);
    });
    ASSERT_EQ(program.desktop.dialogRequests.size(), 2u);
    EXPECT_EQ(program.desktop.dialogRequests[0].filter,
              "Handler templates (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(program.desktop.dialogRequests[1].fileName, ""); // the first Browse was cancelled
    EXPECT_EQ(program.desktop.only({"help", "mode"}),
              (std::vector<std::string>{"help section handlersettings"}));
    HandlerSettings expected;
    expected.handler = HandlerSource::Template;
    expected.templatePath = good.string();
    expected.lineNumbers = true;
    EXPECT_EQ(program.module.handlerSettings(), expected);
    EXPECT_EQ(program.module.Error_Flag(),
              HandlingMode::ShowMessage); // the item is no handling mode
}

TEST_F(SettingsDialog, newFileKindsFillTheListAgainAllTicked_otherChangesLeaveIt) {
    open({"Module=M; M.bas", "Class=C; C.cls", "UserControl=U.ctl"});
    program.files.setSelected(0, false);
    inDialog([](HandlerSettingsDialog& dialog) {
        dialog.setSkipHandled(true);
        dialog.ok();
    });
    EXPECT_EQ(program.desktop.only({"entries"}), std::vector<std::string>{});
    EXPECT_FALSE(program.files.entries()[0].selected);

    inDialog([](HandlerSettingsDialog& dialog) {
        dialog.setSourceKind(SourceKind::Class, true);
        dialog.setSourceKind(SourceKind::UserControl, true);
        dialog.ok();
    });
    EXPECT_EQ(program.desktop.only({"entries", "label", "tick"}),
              (std::vector<std::string>{"entries", "entries C.cls- M.bas- U.ctl-",
                                        "label " + (folder / "P.vbp").string(), "tick 0 on",
                                        "tick 1 on", "tick 2 on"}));
    EXPECT_EQ(program.files.entries()[0].kind, SourceKind::Class);
}

} // namespace
} // namespace faultward::coretest

namespace faultward::coretest {
namespace {

TEST(HandlerSettingsDialogCaption, anAmpersandOfTheProjectsNameIsNoAccessKey) {
    FakeDesktop desktop;
    HandlerSettingsDialog dialog(HandlerSettings(), desktop, desktop);
    EXPECT_EQ(dialog.keepWithProjectCaption(), "");
    dialog.offerKeepWithProject("C:\\Work\\Tom&Jerry.faultward", true);
    EXPECT_EQ(dialog.keepWithProjectCaption(), "&Keep with the project (Tom&&Jerry.faultward)");
    EXPECT_TRUE(dialog.keepWithProject());
}

} // namespace
} // namespace faultward::coretest

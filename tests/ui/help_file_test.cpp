#include "app/desktop/desktop_arguments.h"
#include "rewrite/handler_format.h"
#include "support/process.h"
#include "ui/help_key.h"

#include <QFile>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <string>

namespace faultward::help {
namespace {

// The help file the build puts beside the programs.
QString helpText() {
    QFile file(defaultHelpFilePath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << defaultHelpFilePath().toStdString();
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.readAll()));
    return document.toPlainText().replace(QChar::Nbsp, ' ');
}

QString block(int mode) {
    std::string lines;
    appendHandlerBlock(lines, "Command1_Click", handlingModeOf(static_cast<std::int16_t>(mode)),
                       "\n");
    lines.pop_back();
    return QString::fromStdString(lines);
}

// The help shows the inserted lines; they must be the ones the program writes.
TEST(HelpFile, showsTheExactLinesOfEveryHandlingMode) {
    const QString text = helpText();
    EXPECT_TRUE(text.contains(QString::fromStdString(trapLine("Command1_Click"))));
    for (int mode : {0, 1, 2})
        EXPECT_TRUE(text.contains(block(mode))) << "mode " << mode << ":\n"
                                                << block(mode).toStdString();
}

TEST(HelpFile, coversTheCentralRoutineTheSettingsAndTheCommandLine) {
    const QString text = helpText();
    for (const char* topic : {"Public Sub I_Process_Errors()", "ERRH.ini", "Error_Flag=",
                              "faultward-cli insert [--mode N] PROJECT.vbp", "'~Faultward~"})
        EXPECT_TRUE(text.contains(QLatin1String(topic))) << topic;
}

} // namespace
} // namespace faultward::help

namespace faultward::help {
namespace {

// From a terminal, --help and --version print their text and end, with no
// window and no display needed; the manual page is made from the same help.
TEST(CommandLineHelp, helpAndVersionPrintInsteadOfOpeningTheWindow) {
    for (const char* option : {"--help", "--version"}) {
        const testing::ProcessResult run = testing::runProcess(FAULTWARD_DESKTOP, {option});
        EXPECT_EQ(run.exitCode, 0) << option;
        EXPECT_EQ(run.out, *desktopStandAloneText({option})) << option;
        EXPECT_EQ(run.err, "") << option;
    }
}

} // namespace
} // namespace faultward::help

// The desktop's question before a command writes outside the project's
// folder, over the recording view.
#include "fake_desktop.h"

#include "platform/path_bytes.h"

namespace fs = std::filesystem;

namespace faultward::coretest {
namespace {

class OutsideQuestion : public OpenedProject {
protected:
    void SetUp() override {
        folder.write("A.bas", kOneSubSource);
        other = elsewhere.write("V.bas", kOneSubSource);
    }
    bool handled(const fs::path& file) const {
        return readFile(file).find("ON ERROR GOTO ERR_A") != std::string::npos;
    }

    TempFolder elsewhere;
    fs::path other;
};

TEST_F(OutsideQuestion, namesTheFilesAndNoWritesNothing_yesWritesAndIsRemembered) {
    const std::string entry = bytesFromPath(other);
    open({"Module=A; A.bas", "Module=V; " + entry});
    program.main.cmd_nav(Command::Insert);
    ASSERT_EQ(program.desktop.questions.size(), 1u);
    const std::string& question = program.desktop.questions[0];
    EXPECT_TRUE(question.starts_with("Insert Error Handling Code would write files outside the "
                                     "project's folder, "))
        << question;
    EXPECT_NE(question.find("\n\n" + entry + "\n\n"), std::string::npos) << question;
    EXPECT_EQ(question.find("A.bas,"), std::string::npos) << "only what lies outside";
    // No: neither file is written, and nothing else happens.
    EXPECT_FALSE(handled(folder / "A.bas"));
    EXPECT_FALSE(handled(other));
    EXPECT_EQ(program.desktop.only({"question", "play", "message"}),
              (std::vector<std::string>{"play 11", "question"}));

    program.desktop.questionAnswers.push_back(true);
    program.main.cmd_nav(Command::Insert);
    EXPECT_TRUE(handled(folder / "A.bas"));
    EXPECT_TRUE(handled(other));
    // The answer holds for these bytes, for every command.
    program.main.cmd_nav(Command::Remove);
    EXPECT_EQ(program.desktop.questions.size(), 2u);
    EXPECT_FALSE(handled(other));
    // Any change to the project file asks again.
    folder.write("P.vbp", crlf({"Module=A; A.bas", "Module=V; " + entry, "Name=\"P\""}));
    program.main.cmd_nav(Command::Insert);
    EXPECT_EQ(program.desktop.questions.size(), 3u);
    EXPECT_FALSE(handled(other));
}

// Preview Insertion and Check Project write nothing, so they ask nothing:
// they name at their end the files Insert would ask about.
TEST_F(OutsideQuestion, previewAndCheckNameTheFilesInsertWouldAskAbout) {
    const std::string entry = bytesFromPath(other);
    open({"Module=A; A.bas", "Module=V; " + entry});
    program.main.cmd_nav(Command::Preview);
    program.main.cmd_nav(Command::Check);
    EXPECT_TRUE(program.desktop.questions.empty());
    ASSERT_EQ(program.desktop.reports.size(), 2u);
    for (const std::string& report : program.desktop.reports) {
        const std::size_t note =
            report.find("\nInsert Error Handling Code would work on files outside the project's "
                        "folder, ");
        ASSERT_NE(note, std::string::npos) << report;
        EXPECT_TRUE(report.ends_with(", and asks before it does:\n" + entry + "\n")) << report;
    }
    EXPECT_FALSE(handled(other));
}

// A template is read into every procedure: one a project's settings file
// names outside the project's folder needs the user's word, and the
// question names that settings file.
TEST_F(OutsideQuestion, aTemplateTheProjectNamesOutsideIsAskedAboutWithItsFile) {
    const fs::path lines = elsewhere.write("t.txt", "[trap]\nON ERROR GOTO ERR_{procedure}\n"
                                                    "[handler]\n{exit}\nERR_{procedure}:\n");
    folder.write("P.faultward",
                 "[Handler]\nHandler=Template\nTemplate=" + bytesFromPath(lines) + "\n");
    open({"Module=A; A.bas"});
    program.main.cmd_nav(Command::Insert);
    ASSERT_EQ(program.desktop.questions.size(), 1u);
    EXPECT_NE(program.desktop.questions[0].find("\n\nthe template " + bytesFromPath(lines) +
                                                " that " + bytesFromPath(folder / "P.faultward") +
                                                " names\n\n"),
              std::string::npos)
        << program.desktop.questions[0];
    EXPECT_FALSE(handled(folder / "A.bas"));
    // Taking the template out of it is never asked about.
    program.main.cmd_nav(Command::Remove);
    EXPECT_EQ(program.desktop.questions.size(), 1u);
}

} // namespace
} // namespace faultward::coretest

// The project files list as a tree, driven by the keys of a tree view: what
// opening an entry and ticking a procedure hand to the core, and what of its
// answer the tree shows.
#include "app/project_files_logic.h"
#include "ui/form1.h"
#include "ui/project_files_tree.h"
#include "ui_test_support.h"

#include <QTest>

#include <gtest/gtest.h>

namespace faultward::uitest {
namespace {

struct Row {
    QString text, state;
    Qt::CheckState tick;
    bool operator==(const Row&) const = default;
};

std::vector<Row> procedures(const QTreeWidgetItem& entry) {
    std::vector<Row> rows;
    for (int i = 0; i < entry.childCount(); ++i)
        rows.push_back(
            {entry.child(i)->text(0), entry.child(i)->text(1), entry.child(i)->checkState(0)});
    return rows;
}

class ProjectFilesTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        program.write("p/M.bas", crlf({"Sub A()", "    Beep", "End Sub", "Sub B()",
                                       "    On Error Resume Next", "End Sub", "Sub C(): End Sub"}));
        program.write("p/N.bas", crlf({"Sub N()", "End Sub"}));
        program.openProject(program.write("p/P.vbp", crlf({"Module=M; M.bas", "Module=N; N.bas"})));
        tree.setFocus();
    }
    void key(Qt::Key key) { QTest::keyClick(&tree, key); }

    RunningProgram program;
    ProjectFilesTree& tree = program.window().form1().List1();
};

TEST_F(ProjectFilesTreeTest, openingAnEntryShowsTheCoresRows_spaceOnOneKeepsItInTheProjectsFile) {
    key(Qt::Key_Home);
    key(Qt::Key_Plus);
    QTreeWidgetItem& m = *tree.entry(0);
    ASSERT_TRUE(m.isExpanded());
    EXPECT_EQ(procedures(m), (std::vector<Row>{{"Sub A", "no handler", Qt::Checked},
                                               {"Sub B", "handles its own errors", Qt::Checked},
                                               {"Sub C", "left alone: one-line", Qt::Checked}}));

    key(Qt::Key_Down);
    key(Qt::Key_Space);
    EXPECT_EQ(procedures(m)[0], (Row{"Sub A", "left alone: listed in [Leave]", Qt::Unchecked}));
    EXPECT_EQ(tree.currentItem(), m.child(0));
    EXPECT_NE(readFile(program.folder() / "p" / "P.faultward").find("[Leave]\nM.bas:A\n"),
              std::string::npos);

    // A click on the state makes its column current; Space still ticks.
    const QRect state = tree.visualItemRect(m.child(0)).adjusted(tree.columnWidth(0), 0, 0, 0);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, state.center());
    key(Qt::Key_Space);
    EXPECT_EQ(m.child(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(readFile(program.folder() / "p" / "P.faultward").find("M.bas:A"), std::string::npos);
    EXPECT_TRUE(program.messages().texts.empty());
}

TEST_F(ProjectFilesTreeTest, plusMinusRightAndLeftOpenAndClose_spaceOnAnEntryTicksIt) {
    key(Qt::Key_Home); // the first key makes the first entry current
    key(Qt::Key_End);
    EXPECT_EQ(tree.currentEntry(), 1);
    key(Qt::Key_Right);
    EXPECT_TRUE(tree.entry(1)->isExpanded());
    EXPECT_EQ(tree.entry(1)->childCount(), 1);
    key(Qt::Key_Left);
    EXPECT_FALSE(tree.entry(1)->isExpanded());
    key(Qt::Key_Plus);
    EXPECT_TRUE(tree.entry(1)->isExpanded());
    key(Qt::Key_Minus);
    EXPECT_FALSE(tree.entry(1)->isExpanded());

    key(Qt::Key_Space);
    EXPECT_EQ(tree.entry(1)->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(program.window().projectFiles().entries()[1].selected);
}

// The file lost procedures since it was opened: ticking one that is gone
// shows the rows the file has now.
TEST_F(ProjectFilesTreeTest, tickOnARowTheFileNoLongerHas_showsTheFilesRows) {
    key(Qt::Key_Home);
    key(Qt::Key_Plus);
    program.write("p/M.bas", crlf({"Sub A()", "End Sub"}));
    key(Qt::Key_End); // N.bas
    key(Qt::Key_Up);
    ASSERT_EQ(tree.currentItem()->text(0), "Sub C");
    key(Qt::Key_Space);
    EXPECT_EQ(procedures(*tree.entry(0)), (std::vector<Row>{{"Sub A", "no handler", Qt::Checked}}));
}

} // namespace
} // namespace faultward::uitest

// The project files list as a tree, driven by its keys: what opening an entry
// and ticking a procedure hand to the core, and what of its answer it shows.
#include "app/desktop/project_files_logic.h"
#include "ui/form1.h"
#include "ui/project_files_tree.h"
#include "ui_test_support.h"

#include <QAccessible>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace faultward::uitest {
namespace {

// "Sub A|no handler|1": each procedure under an entry, with its tick.
QStringList rows(const QTreeWidgetItem& entry) {
    QStringList shown;
    for (int i = 0; i < entry.childCount(); ++i) {
        const QTreeWidgetItem& row = *entry.child(i);
        shown << row.text(0) + '|' + row.data(0, ProjectFilesTree::kStateRole).toString() + '|' +
                     QString::number(row.checkState(0) == Qt::Checked);
    }
    return shown;
}

TEST(ProjectFilesTree, keysOpenAnEntryIntoTheCoresRows_andTickItsProcedures) {
    RunningProgram program;
    program.write("p/M.bas", crlf({"Sub A()", "    Beep", "End Sub", "Sub B()",
                                   "    On Error Resume Next", "End Sub", "Sub C(): End Sub"}));
    program.write("p/N.bas", crlf({"Sub N()", "End Sub"}));
    program.openProject(program.write("p/P.vbp", crlf({"Module=M; M.bas", "Module=N; N.bas"})));
    ProjectFilesTree& tree = program.window().form1().List1();
    const auto keys = [&](std::initializer_list<Qt::Key> keys) {
        for (const Qt::Key key : keys)
            QTest::keyClick(&tree, key);
    };
    const auto kept = [&] { return readFile(program.folder() / "p" / "P.faultward"); };
    tree.setFocus();

    keys({Qt::Key_Home, Qt::Key_Plus, Qt::Key_Down, Qt::Key_Space});
    QTreeWidgetItem& m = *tree.entry(0);
    EXPECT_EQ(rows(m),
              (QStringList{"Sub A|left alone: listed in [Leave]|0",
                           "Sub B|handles its own errors|1", "Sub C|left alone: one-line|1"}));
    EXPECT_EQ(tree.currentItem(), m.child(0));
    // Its lines end as the project file's do.
    EXPECT_NE(kept().find("[Leave]\r\nM.bas:A\r\n"), std::string::npos);

    // A click on the state; Space still ticks.
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                      tree.rowText(*m.child(0)).statePlace.center());
    keys({Qt::Key_Space});
    EXPECT_EQ(kept().find("M.bas:A"), std::string::npos);

    keys({Qt::Key_Home, Qt::Key_Minus, Qt::Key_End, Qt::Key_Space});
    EXPECT_FALSE(m.isExpanded());
    EXPECT_FALSE(program.window().projectFiles().entries()[1].selected);

    // A tick on a procedure the file has lost since it was opened.
    keys({Qt::Key_Home, Qt::Key_Plus});
    program.write("p/M.bas", crlf({"Sub A()", "End Sub"}));
    keys({Qt::Key_End, Qt::Key_Up, Qt::Key_Space}); // on Sub C
    EXPECT_EQ(rows(m), QStringList{"Sub A|no handler|1"});
    EXPECT_TRUE(program.messages().texts.empty());
}

// At the window's first size the state has a column of its own, whole; the
// head gives way. A screen reader hears both on the row.
TEST(ProjectFilesTree, atTheFirstSize_theStateShowsWhole_andTheRowReadsAsOneLine) {
    RunningProgram program;
    program.write("p/M.bas", crlf({"Private Sub cmdSaveTheQuarterlyReportToTheArchive_Click()",
                                   "    Beep", "End Sub", "Sub B(): End Sub"}));
    program.openProject(program.write("p/P.vbp", crlf({"Module=M; M.bas"})));
    ProjectFilesTree& tree = program.window().form1().List1();
    for (const Qt::Key key : {Qt::Key_Plus, Qt::Key_Down, Qt::Key_Space, Qt::Key_Down})
        QTest::keyClick(&tree, key);
    QApplication::processEvents();
    const QTreeWidgetItem& saveReport = *tree.entry(0)->child(0);
    ASSERT_EQ(saveReport.data(0, ProjectFilesTree::kStateRole), "left alone: listed in [Leave]");

    const ProcedureRowText shown = tree.rowText(saveReport);
    EXPECT_EQ(shown.state, "left alone: listed in [Leave]");
    EXPECT_TRUE(shown.head.contains(QChar(0x2026))) << shown.head.toStdString();
    EXPECT_LE(shown.statePlace.right(), tree.viewport()->width());
    EXPECT_FALSE(tree.horizontalScrollBar()->isVisible());
    // Widened, the states line up after the heads, each whole.
    program.window().resize(700, 400);
    QApplication::processEvents();
    const ProcedureRowText wide = tree.rowText(saveReport);
    EXPECT_EQ(wide.head, saveReport.text(0));
    EXPECT_EQ(wide.statePlace.left(), tree.rowText(*tree.entry(0)->child(1)).statePlace.left());

    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&tree);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->tableInterface(), nullptr);
    QAccessibleInterface* head = list->tableInterface()->cellAt(1, 0);
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->text(QAccessible::Name).toStdString(),
              "Sub cmdSaveTheQuarterlyReportToTheArchive_Click \u2014 left alone: listed in "
              "[Leave]");
}

// An entry opened at the bottom of the view brings its procedures into sight,
// as many as fit, its own row staying in sight.
TEST(ProjectFilesTree, anEntryOpenedAtTheBottom_scrollsItsProceduresIntoSight) {
    RunningProgram program;
    std::string project;
    for (int file = 10; file < 40; ++file)
        project += "Module=M" + std::to_string(file) + "; M" + std::to_string(file) + ".bas\r\n";
    program.write("p/M39.bas",
                  crlf({"Sub A()", "End Sub", "Sub B()", "End Sub", "Sub C()", "End Sub"}));
    program.openProject(program.write("p/P.vbp", project));
    ProjectFilesTree& tree = program.window().form1().List1();
    for (const Qt::Key key : {Qt::Key_End, Qt::Key_Right})
        QTest::keyClick(&tree, key);
    QApplication::processEvents();
    const QTreeWidgetItem& last = *tree.entry(29);
    ASSERT_EQ(last.childCount(), 3);
    const QRect sight = tree.viewport()->rect();
    EXPECT_TRUE(sight.contains(tree.visualItemRect(last.child(2)))) << "the last procedure";
    EXPECT_TRUE(sight.contains(tree.visualItemRect(&last))) << "the entry";

    // Opened where its procedures cannot all show, the entry goes to the top.
    std::string many;
    for (int i = 0; i < 40; ++i)
        many += "Sub P" + std::to_string(i) + "()\r\nEnd Sub\r\n";
    program.write("p/M38.bas", many);
    QTest::keyClick(&tree, Qt::Key_Up);
    QTest::keyClick(&tree, Qt::Key_Right);
    QApplication::processEvents();
    EXPECT_EQ(tree.visualItemRect(tree.entry(28)).top(), 0);
}

} // namespace
} // namespace faultward::uitest

// The project files list as a tree, driven by its keys: what opening an entry
// and ticking a procedure hand to the core, and what of its answer it shows.
#include "app/project_files_logic.h"
#include "ui/form1.h"
#include "ui/project_files_tree.h"
#include "ui_test_support.h"

#include <QTest>

#include <gtest/gtest.h>

namespace faultward::uitest {
namespace {

// "Sub A|no handler|1": each procedure under an entry, with its tick.
QStringList rows(const QTreeWidgetItem& entry) {
    QStringList shown;
    for (int i = 0; i < entry.childCount(); ++i) {
        const QTreeWidgetItem& row = *entry.child(i);
        shown << row.text(0) + '|' + row.text(1) + '|' +
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

    // A click on the state makes its column current; Space still ticks.
    const QRect state = tree.visualItemRect(m.child(0)).adjusted(tree.columnWidth(0), 0, 0, 0);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, state.center());
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

} // namespace
} // namespace faultward::uitest

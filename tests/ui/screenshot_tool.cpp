// Shows the desktop program on the current display, opens a project through a
// scripted dialog, runs Insert, and saves pictures of the screen along the way:
//   1-start.png, 2-open-dialog.png (the real dialog, then cancelled), 3-opened.png,
//   7-handler-settings.png, 8-preview.png (before Insert), 4-inserting.png,
//   5-inserted.png, 6-options-menu.png, 9-tree.png (a file open into its procedures)
// and, given a second project of a real size, 10-first-size.png (a file of it
// open at the window's first size) and 11-maximized.png (the whole screen).
// Usage: faultward-screenshot OUTPUT_FOLDER PROJECT.vbp [LARGE_PROJECT.vbp]
//        faultward-screenshot --workbook OUTPUT_FOLDER BOOK.xlsm
// The second takes 12-workbook.png: the workbook open, each module open into
// its procedures.
// Settings are kept in a scratch folder, never in the real ERRH.ini.

#include "app/desktop/project_files_logic.h"
#include "app/texts/texts.h"
#include "rewrite/passes.h"
#include "ui/file_dialog.h"
#include "ui/form1.h"
#include "ui/project_files_tree.h"
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

using namespace faultward;

void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(15);
    }
}

// The whole screen, or the given part of it.
void saveScreen(const QString& folder, const QString& name, const QRect& area = {}) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap picture =
        area.isNull() ? screen->grabWindow(0)
                      : screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString path = folder + QLatin1Char('/') + name;
    if (!picture.save(path))
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
}

// Takes the "during" picture when the insertion pass is half way.
class MidPassCamera : public PassFeedback {
public:
    MidPassCamera(MDIForm1& window, QString folder, int entries)
        : PassFeedback(window, window.form1()), window_(window), folder_(std::move(folder)),
          half_(entries / 2) {}
    void passStarted(PassKind kind, int minimum, int maximum) override {
        PassFeedback::passStarted(kind, minimum, maximum);
        inserting_ = kind == PassKind::Insertion;
    }
    void progressValue(int value) override {
        PassFeedback::progressValue(value);
        if (!inserting_ || value != half_)
            return;
        saveScreen(folder_, QStringLiteral("4-inserting.png"));
        // Without a window manager the caption is not in the picture.
        std::printf("caption while inserting: %s\n", qPrintable(window_.windowTitle()));
    }

private:
    QWidget& window_;
    QString folder_;
    int half_;
    bool inserting_ = false;
};

// The workbook open, every module open into its procedures, the list with
// the keyboard.
int pictureOfWorkbook(const QString& folder, const char* workbook) {
    uitest::RunningProgram program;
    program.window().move(10, 10);
    program.window().activateWindow();
    program.openProject(workbook);
    settle();
    ProjectFilesTree& tree = program.window().form1().List1();
    for (int i = 0; i < tree.entryCount(); ++i)
        tree.expandItem(tree.entry(i));
    if (tree.entryCount() > 0)
        tree.setCurrentItem(tree.entry(0));
    tree.setFocus(Qt::ShortcutFocusReason);
    settle();
    saveScreen(folder, QStringLiteral("12-workbook.png"), program.window().frameGeometry());
    for (const QString& message : program.messages().texts)
        std::fprintf(stderr, "message box: %s\n", qPrintable(message));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 4 && QLatin1String(argv[1]) == QLatin1String("--workbook"))
        return pictureOfWorkbook(QString::fromLocal8Bit(argv[2]), argv[3]);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr,
                     "usage: faultward-screenshot OUTPUT_FOLDER PROJECT.vbp [LARGE_PROJECT.vbp]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    uitest::RunningProgram program;
    program.window().move(10, 10);
    settle();
    saveScreen(folder, QStringLiteral("1-start.png"));

    // The real file-open dialog, as the Open command sets it up.
    QTimer::singleShot(800, [folder] {
        saveScreen(folder, QStringLiteral("2-open-dialog.png"));
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    makeQtFileDialog()->askOpenFile(
        &program.window(),
        {QString::fromLocal8Bit(argv[2]),
         QString::fromUtf8(kProjectFilter.data(), static_cast<qsizetype>(kProjectFilter.size())),
         kProjectFilterIndex});

    program.openProject(argv[2]);
    settle();
    saveScreen(folder, QStringLiteral("3-opened.png"));

    // The modal windows, opened from their menu items and closed once taken.
    const auto pictureOfModal = [&](const char* item, const QString& name, auto prepare) {
        QTimer::singleShot(800, [&, name, prepare] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal) {
                prepare(*modal);
                settle();
            }
            saveScreen(folder, name, modal ? modal->frameGeometry() : QRect());
            if (modal)
                modal->close();
        });
        program.trigger(item);
        settle();
    };
    pictureOfModal("mnu_o_4", QStringLiteral("7-handler-settings.png"), [](QWidget& dialog) {
        dialog.move(40, 40);
        for (const char* name : {"chk_proc_function", "chk_file_cls"})
            dialog.findChild<QAbstractButton*>(QLatin1String(name))->click();
    });
    pictureOfModal("mnu_f_12", QStringLiteral("8-preview.png"),
                   [](QWidget& window) { window.setGeometry(20, 20, 600, 440); });

    MidPassCamera camera(program.window(), folder, program.window().form1().List1().entryCount());
    program.window().projectFiles().setFeedback(&camera);
    program.click("cmd_tbl_2");
    program.window().projectFiles().setFeedback(nullptr);
    settle();
    saveScreen(folder, QStringLiteral("5-inserted.png"));
    std::printf("caption after inserting: %s\n", qPrintable(program.window().windowTitle()));
    std::printf("window %d x %d, menu bar %d high\n", program.window().width(),
                program.window().height(), program.window().menuBar()->height());

    QMenu* options = program.window().findChild<QMenu*>(QStringLiteral("mnu_1"));
    program.window().menuBar()->setActiveAction(options->menuAction());
    settle();
    saveScreen(folder, QStringLiteral("6-options-menu.png"));
    options->hide();

    // The list as a tree: the first file open, its second procedure unticked,
    // after another Insert, so the states show both choices.
    ProjectFilesTree& tree = program.window().form1().List1();
    tree.expandItem(tree.entry(0));
    if (QTreeWidgetItem* second = tree.entry(0)->child(1))
        second->setCheckState(0, Qt::Unchecked);
    program.click("cmd_tbl_2");
    tree.setCurrentItem(tree.entry(0)->child(1));
    tree.scrollToTop();
    tree.setFocus();
    settle();
    saveScreen(folder, QStringLiteral("9-tree.png"), program.window().frameGeometry());

    if (argc == 4) {
        // The file of the large project with the most procedures, open, its
        // second procedure unticked, after an Insert; the list has the keyboard.
        // Active, as a window manager would make it: the focus mark shows.
        program.window().activateWindow();
        program.openProject(argv[3]);
        settle();
        int fullest = 0, most = -1;
        for (int i = 0; i < tree.entryCount(); ++i) {
            tree.expandItem(tree.entry(i));
            if (tree.entry(i)->childCount() > most) {
                most = tree.entry(i)->childCount();
                fullest = i;
            }
            tree.collapseItem(tree.entry(i));
        }
        QTreeWidgetItem& file = *tree.entry(fullest);
        tree.expandItem(&file);
        if (QTreeWidgetItem* second = file.child(1))
            second->setCheckState(0, Qt::Unchecked);
        program.click("cmd_tbl_2");
        tree.scrollToItem(&file, QAbstractItemView::PositionAtTop);
        tree.setCurrentItem(file.child(2));
        tree.setFocus(Qt::ShortcutFocusReason);
        settle();
        saveScreen(folder, QStringLiteral("10-first-size.png"), program.window().frameGeometry());

        // Without a window manager nothing maximizes: the window then takes
        // the screen as a maximized one would.
        program.window().showMaximized();
        settle();
        if (!program.window().isMaximized() ||
            program.window().width() < program.window().screen()->availableGeometry().width() / 2)
            program.window().setGeometry(program.window().screen()->availableGeometry());
        tree.scrollToItem(&file, QAbstractItemView::PositionAtTop);
        settle();
        saveScreen(folder, QStringLiteral("11-maximized.png"));
        std::printf("maximized: %d, window %d x %d\n", program.window().isMaximized(),
                    program.window().width(), program.window().height());
    }

    for (const QString& message : program.messages().texts)
        std::fprintf(stderr, "message box: %s\n", qPrintable(message));
    return 0;
}

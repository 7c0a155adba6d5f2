#include "mdi_form1.h"

#include "form1.h"
#include "list_entries.h"
#include "module1.h"
#include "passes.h"
#include "sound.h"
#include "twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>

#include <cstdlib>
#include <vector>

namespace faultward {
namespace {

// The client area below the menu bar; with a window frame of four pixels a
// side, a caption and a menu bar this gave an outer size of 4875 x 5325 twips.
constexpr int kClientWidthTwips = 4755;
constexpr int kClientHeightTwips = 4635;

struct MenuItem {
    int index;
    const char* caption; // "-" is a separator
};

constexpr MenuItem kFileItems[] = {
    {0, "&Open Visual Basic Project"},
    {1, "-"},
    {2, "&Insert Error Handling Code"},
    {3, "-"},
    {4, "&Remove Error Handling Code"},
    {5, "-"},
    {6, "E&xit"},
};
constexpr MenuItem kOptionItems[] = {
    {0, "Halt on Errors and Display in Message Box"},
    {1, "Ignore Errors and Resume Next"},
    {2, "Centralize Error Handling with I_Process_Errors Sub"},
};
constexpr MenuItem kHelpItems[] = {{0, "I&ndex"}, {1, "-"}, {2, "&About"}};

QString failureMessage(const FailureCollector& failures) {
    QString text =
        QStringLiteral("These selected files could not be processed and were left as they were:\n");
    for (const FailureCollector::Failure& failure : failures.failures())
        text += QStringLiteral("\n%1: %2")
                    .arg(displayText(failure.entry), QString::fromUtf8(describe(failure.outcome)));
    return text;
}

} // namespace

QIcon applicationIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/faultward.png"));
    icon.addFile(QStringLiteral(":/icons/faultward16.png"));
    return icon;
}

MDIForm1::MDIForm1(Module1& module, QWidget* parent)
    : QMainWindow(parent), module_(module), fileDialog_(makeQtFileDialog()),
      messageBoxes_(makeQtMessageBoxes()) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowIcon(applicationIcon());
    terminate = [] { std::_Exit(0); };
    buildMenus();

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("MDIClient"));
    mdiArea_->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdiArea_->setFixedSize(twips(kClientWidthTwips), twips(kClientHeightTwips));
    setCentralWidget(mdiArea_);
    // The window takes the size its menu bar and client area need, and keeps it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Load: the caption, then the project files window.
    setWindowTitle(QStringLiteral("Faultward"));
    form1_ = new Form1(*this, module_);
    QMdiSubWindow* child = mdiArea_->addSubWindow(form1_, Qt::FramelessWindowHint);
    form1Frame_ = child;
    child->setObjectName(QStringLiteral("Form1Frame"));
    child->setWindowTitle(QStringLiteral("Faultward"));
    child->setGeometry(QRect(QPoint(0, 0), form1_->size()));
    // The project files window lives as long as the main window: it has no
    // window menu, and Ctrl+F4 or any other close request is refused.
    child->setSystemMenu(nullptr);
    child->setAttribute(Qt::WA_DeleteOnClose, false);
    child->installEventFilter(this);
    child->show();
}

bool MDIForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == form1Frame_) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

MDIForm1::~MDIForm1() = default;

void MDIForm1::buildMenus() {
    // One menu of the bar: its items are named prefix_index, and each passes
    // its index to the menu's handler.
    auto addMenu = [this](int index, const char* title, const char* itemPrefix, const auto& items,
                          auto handler) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(title));
        const QString menuName = QStringLiteral("mnu_%1").arg(index);
        menu->setObjectName(menuName);
        menu->menuAction()->setObjectName(menuName);
        std::vector<QAction*> actions;
        for (const MenuItem& item : items) {
            const QString caption = QString::fromUtf8(item.caption);
            QAction* action =
                caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(caption);
            action->setObjectName(
                QStringLiteral("%1_%2").arg(QLatin1String(itemPrefix)).arg(item.index));
            const int itemIndex = item.index;
            if (!action->isSeparator())
                connect(action, &QAction::triggered, this,
                        [this, handler, itemIndex] { (this->*handler)(itemIndex); });
            actions.push_back(action);
        }
        return actions;
    };
    addMenu(0, "&File", "mnu_f", kFileItems, &MDIForm1::mnu_f_Click);
    const auto modes = addMenu(1, "O&ptions", "mnu_o", kOptionItems, &MDIForm1::mnu_o_Click);
    for (std::size_t i = 0; i < modeItems_.size(); ++i) {
        modeItems_[i] = modes[i];
        modeItems_[i]->setCheckable(true);
    }
    addMenu(2, "&Help", "mnu_h", kHelpItems, &MDIForm1::mnu_h_Click);
}

bool MDIForm1::markModeItem(int mode) {
    if (mode < 0 || mode >= static_cast<int>(modeItems_.size()))
        return false;
    modeItems_[static_cast<std::size_t>(mode)]->setChecked(true);
    return true;
}

void MDIForm1::mnu_f_Click(int Index) {
    cmd_nav(Index);
}

void MDIForm1::mnu_o_Click(int Index) {
    for (QAction* item : modeItems_)
        item->setChecked(false);
    markModeItem(Index);
    module_.Error_Flag = static_cast<std::int16_t>(Index);
}

void MDIForm1::mnu_h_Click(int Index) {
    if (Index == 0)
        sendHelpKey();
    else if (Index == 2 && onShowAbout)
        onShowAbout();
}

void MDIForm1::cmd_nav(int Index) {
    try {
        Play_Sound(kClickCue);
        switch (Index) {
        case 0:
            Open_Project();
            break;
        case 2:
            runPasses(true);
            break;
        case 4:
            runPasses(false);
            break;
        case 6:
            terminate();
            break;
        case 7:
            sendHelpKey();
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        // A command that fails ends where it failed, without a message.
    }
}

void MDIForm1::runPasses(bool insert) {
    Stop_Sound();
    // Insert runs two passes over the same list; a file that fails in both
    // is still named once.
    FailureCollector failures;
    form1_->Remove_ErrH(&failures);
    if (insert)
        form1_->Insert_ErrH(&failures);
    Play_Sound(kCompletionCue);
    // The passes skip what they cannot read or write; say so rather than let
    // "Task Completed" stand for success.
    if (!failures.empty())
        messageBoxes_->showMessage(this, failureMessage(failures), MessageIcon::Warning);
}

void MDIForm1::sendHelpKey() {
    // Posted like a typed key: to the widget with the keyboard focus, from
    // where an unhandled key travels up to its window.
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    if (!target)
        target = this;
    QApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
    QApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier));
}

void MDIForm1::closeEvent(QCloseEvent* event) {
    module_.Save_Settings();
    event->accept();
}

void MDIForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The window keeps its one size: a maximized window goes back to normal.
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        });
}

} // namespace faultward

#include "ui/mdi_form1.h"

#include "app/desktop/desktop_core.h"
#include "app/desktop/main_window_logic.h"
#include "app/desktop/menus.h"
#include "app/desktop/module1.h"
#include "app/desktop/project_files_logic.h"
#include "app/desktop/window_layout.h"
#include "app/texts/texts.h"
#include "ui/form1.h"
#include "ui/frmAbout.h"
#include "ui/handler_settings_window.h"
#include "ui/path_text.h"
#include "ui/report_dialog.h"
#include "ui/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMoveEvent>
#include <QScreen>

#include <vector>

namespace faultward {
namespace {

// Qt shows file names as text, so a folder named in another 8-bit encoding
// (Latin-1 from an older disk) comes back from the dialog with replacement
// characters in place of its bytes. Where the choice is the preset path, or a
// file in the preset's folder, the preset's own bytes are used again.
std::string bytesOfChoice(const QString& chosen, const std::string& preset) {
    if (chosen == pathText(preset))
        return preset;
    const std::size_t slash = preset.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        const QString folder = pathText(std::string_view(preset).substr(0, slash + 1));
        if (chosen.startsWith(folder))
            return preset.substr(0, slash + 1) + pathBytes(chosen.mid(folder.size()));
    }
    return pathBytes(chosen);
}

constexpr Qt::WindowStates kNotNormal =
    Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;

ScreenRect screenRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

} // namespace

QIcon applicationIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/faultward.png"));
    icon.addFile(QStringLiteral(":/icons/faultward16.png"));
    return icon;
}

MDIForm1::MDIForm1(Module1& module, DesktopServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowIcon(applicationIcon());
    buildMenus();

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("MDIClient"));
    mdiArea_->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The client area below the menu bar; with a window frame of four pixels
    // a side, a caption and a menu bar this gives the designed outer size,
    // the first and the least.
    mdiArea_->setMinimumSize(twips(kMainClientWidth), twips(kMainClientHeight));
    mdiArea_->installEventFilter(this);
    setCentralWidget(mdiArea_);
    resize(minimumSizeHint());

    form1_ = new Form1(*this);
    core_ = std::make_unique<DesktopCore>(module, *this, *form1_, services_.sound, services_.help,
                                          services_.consent);

    // Loaded: the caption is set; now the project files window.
    QMdiSubWindow* child = mdiArea_->addSubWindow(form1_, Qt::FramelessWindowHint);
    form1Frame_ = child;
    child->setObjectName(QStringLiteral("Form1Frame"));
    child->setWindowTitle(form1_->windowTitle());
    child->setGeometry(QRect(QPoint(0, 0), form1_->size()));
    fitProjectFilesWindow();
    // The project files window lives as long as the main window: it has no
    // window menu, and Ctrl+F4 or any other close request is refused.
    child->setSystemMenu(nullptr);
    child->setAttribute(Qt::WA_DeleteOnClose, false);
    child->installEventFilter(this);
    child->show();
}

MDIForm1::~MDIForm1() = default;

MainWindowLogic& MDIForm1::logic() {
    return core_->logic();
}

ProjectFilesLogic& MDIForm1::projectFiles() {
    return core_->projectFiles();
}

bool MDIForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == form1Frame_) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::Resize && watched == mdiArea_)
        fitProjectFilesWindow();
    return QMainWindow::eventFilter(watched, event);
}

void MDIForm1::fitProjectFilesWindow() {
    if (!form1Frame_)
        return;
    const Growth growth = growthBeyond(mdiArea_->width(), mdiArea_->height(),
                                       twips(kMainClientWidth), twips(kMainClientHeight));
    form1Frame_->resize(twips(kFilesWidth) + growth.width, twips(kFilesHeight) + growth.height);
}

void MDIForm1::buildMenus() {
    // One menu of the bar: its items are named prefix_index, and each passes
    // its index to the menu's handler.
    auto addMenu = [this](const MenuItem& menuItem, const char* itemPrefix, const auto& items,
                          auto handler) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(menuItem.caption));
        const QString menuName = QStringLiteral("mnu_%1").arg(menuItem.index);
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
    addMenu(kFileMenu, "mnu_f", kFileItems, &MDIForm1::mnu_f_Click);
    const auto modes = addMenu(kOptionsMenu, "mnu_o", kOptionItems, &MDIForm1::mnu_o_Click);
    for (std::size_t i = 0; i < modeItems_.size(); ++i) {
        modeItems_[i] = modes[i];
        modeItems_[i]->setCheckable(true);
    }
    addMenu(kHelpMenu, "mnu_h", kHelpItems, &MDIForm1::mnu_h_Click);
}

void MDIForm1::cmd_nav(Command Index) {
    logic().cmd_nav(Index);
}

void MDIForm1::mnu_f_Click(int Index) {
    logic().mnu_f_Click(Index);
}

void MDIForm1::mnu_o_Click(int Index) {
    logic().mnu_o_Click(Index);
}

void MDIForm1::mnu_h_Click(int Index) {
    logic().mnu_h_Click(Index);
}

void MDIForm1::setCaption(std::string_view text) {
    setWindowTitle(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    // A caption marks the start or the end of a piece of work: show it now.
    paintNow();
}

void MDIForm1::paintNow() {
    repaint();
    paintPace_.painted();
}

void MDIForm1::paintWhileBusy() {
    if (paintPace_.due())
        paintNow();
}

void MDIForm1::setModeChecked(HandlingMode mode, bool checked) {
    if (isModeItem(mode))
        modeItems_[static_cast<std::size_t>(storedValue(mode))]->setChecked(checked);
}

// The application-wide mouse pointer is one setting, as the program has always
// treated it: long operations turn it to the hourglass and afterwards to the
// default pointer, whatever was shown before.
void MDIForm1::showBusyPointer() {
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    else
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void MDIForm1::showDefaultPointer() {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void MDIForm1::showMessage(std::string_view text, MessageIcon icon, std::string_view details) {
    const auto utf8 = [](std::string_view bytes) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    };
    services_.messageBoxes.showMessage(this, utf8(text), icon, utf8(details));
}

bool MDIForm1::askYesNo(std::string_view text) {
    return services_.messageBoxes.askYesNo(
        this, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

bool MDIForm1::showMessageWithChoice(std::string_view text, MessageIcon icon,
                                     std::string_view details, std::string_view choice) {
    const auto utf8 = [](std::string_view bytes) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    };
    return services_.messageBoxes.showMessageWithChoice(this, utf8(text), icon, utf8(details),
                                                        utf8(choice));
}

std::optional<std::string> MDIForm1::askOpenFile(const OpenFileRequest& request) {
    const std::optional<QString> chosen = services_.fileDialog.askOpenFile(
        this,
        {pathText(request.fileName),
         QString::fromUtf8(request.filter.data(), static_cast<qsizetype>(request.filter.size())),
         request.filterIndex});
    if (!chosen)
        return std::nullopt;
    std::string bytes = bytesOfChoice(*chosen, request.fileName);
    // A name that could not be decoded names no file; taken as it is, it
    // would replace the stored project with one that does not exist.
    std::error_code error;
    if (chosen->contains(QChar::ReplacementCharacter) &&
        !std::filesystem::exists(std::filesystem::path(bytes), error)) {
        services_.messageBoxes.showMessage(
            this,
            // The name goes in as the dialog gave it, not through bytes.
            QString::fromStdString(undecodablePathMessage("%1")).arg(*chosen),
            MessageIcon::Warning);
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> MDIForm1::askOpenFolder(const std::string& preset) {
    const std::optional<QString> chosen = services_.fileDialog.askFolder(this, pathText(preset));
    if (!chosen)
        return std::nullopt;
    return bytesOfChoice(*chosen, preset);
}

std::optional<std::string> MDIForm1::askSaveFile(const SaveFileRequest& request) {
    const std::optional<QString> chosen = services_.fileDialog.askSaveFile(
        this,
        {pathText(request.fileName),
         QString::fromUtf8(request.filter.data(), static_cast<qsizetype>(request.filter.size())),
         request.filterIndex,
         QString::fromUtf8(request.defaultExtension.data(),
                           static_cast<qsizetype>(request.defaultExtension.size()))});
    if (!chosen)
        return std::nullopt;
    return bytesOfChoice(*chosen, request.fileName);
}

// The dialogs block only the main window, so the help they open stays usable.
void MDIForm1::showHandlerSettings(HandlerSettingsDialog& dialog) {
    HandlerSettingsWindow window(dialog, services_.messageBoxes, this);
    window.setWindowModality(Qt::WindowModal);
    window.exec();
}

void MDIForm1::showReport(ReportWindow& report) {
    ReportDialog window(report, this);
    window.setWindowModality(Qt::WindowModal);
    window.exec();
}

void MDIForm1::showAbout() {
    services_.about.show(this);
}

void MDIForm1::endProgramNow() {
    services_.endProgram();
}

void MDIForm1::closeEvent(QCloseEvent* event) {
    logic().MDIForm_Unload();
    event->accept();
}

void MDIForm1::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (!(windowState() & kNotNormal))
        normalPlace_ = pos();
}

// The place is the frame's corner, as move() takes it; the size the window's
// own, as resize() takes it.
void MDIForm1::restorePlacement(const WindowPlacement& stored) {
    std::vector<ScreenRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens.push_back(screenRect(primary->availableGeometry()));
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            screens.push_back(screenRect(screen->availableGeometry()));
    const QSize least = minimumSizeHint();
    const ScreenRect place = broughtOnScreen(stored.normal, least.width(), least.height(), screens);
    move(place.left, place.top);
    resize(place.width, place.height);
    normalPlace_ = QPoint(place.left, place.top);
    if (stored.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

std::optional<WindowPlacement> MDIForm1::placement() const {
    const QPoint corner = windowState() & kNotNormal ? normalPlace_ : pos();
    const QSize size = normalGeometry().size();
    return WindowPlacement{{corner.x(), corner.y(), size.width(), size.height()}, isMaximized()};
}

} // namespace faultward

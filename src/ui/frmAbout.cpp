#include "ui/frmAbout.h"

#include "app/texts.h"
#include "ui/window_placement.h"
#include "version/faultward_version.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace faultward::about {
namespace {

// A one-pixel rule; two of them, grey over white, draw an etched line.
QWidget* makeRule(QWidget* parent, int index, const QColor& color, const QRect& geometry) {
    auto* rule = new QWidget(parent);
    // Indexed controls are named after their group and index, as elsewhere.
    rule->setObjectName(QStringLiteral("Line1_%1").arg(index));
    rule->setAutoFillBackground(true);
    QPalette palette = rule->palette();
    palette.setColor(QPalette::Window, color);
    rule->setPalette(palette);
    rule->setGeometry(geometry);
    return rule;
}

// The small dialog face the window was laid out for: its captions fit their
// buttons at this size, not at the desktop's larger default.
QFont dialogFont(bool bold) {
    QFont font;
    // The classic face where it exists, else a face of the same width.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

QLabel* makeMakerLine(QWidget* panel, const char* name, const QString& text, int top, int height,
                      bool bold) {
    auto* label = new QLabel(text, panel);
    label->setObjectName(name);
    label->setFont(dialogFont(bold));
    label->setGeometry(16, top, 249, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* makeButton(QWidget* panel, int index, const QString& caption, int top) {
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(QStringLiteral("cmd_abt_%1").arg(index));
    button->setGeometry(280, top, 83, 23);
    button->setFont(dialogFont(false));
    // Neither button answers Enter or Escape on its own.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

frmAbout::frmAbout(SysInfoPlatform& platform) : platform_(platform) {
    setObjectName("frmAbout");
    // A fixed dialog frame without minimize or maximize box; a tool window
    // stays out of the task bar.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setAttribute(Qt::WA_DeleteOnClose);
    // Tool windows do not normally keep the program alive; this one does, so
    // the program runs on while it is open after the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(376, 240);
    buildControls();
    Form_Load();
}

void frmAbout::buildControls() {
    picIcon_ = new QLabel(this);
    picIcon_->setObjectName("picIcon");
    picIcon_->setGeometry(18, 8, 36, 36);
    picIcon_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picIcon_->setPixmap(QApplication::windowIcon().pixmap(32, 32));

    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName("lblTitle");
    lblTitle_->setGeometry(72, 8, 259, 24);
    lblTitle_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(11.25);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);
    QPalette titlePalette = lblTitle_->palette();
    titlePalette.setColor(QPalette::WindowText, Qt::black);
    lblTitle_->setPalette(titlePalette);

    lblVersion_ = new QLabel(this);
    lblVersion_->setObjectName("lblVersion");
    lblVersion_->setGeometry(72, 40, 259, 15);
    lblVersion_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    makeRule(this, 1, QColor(128, 128, 128), QRect(0, 139, 371, 1));
    makeRule(this, 0, Qt::white, QRect(1, 140, 370, 1));

    auto* panel = new QWidget(this);
    panel->setObjectName("Picture1");
    panel->setGeometry(0, 152, 369, 89);
    makeMakerLine(panel, "lblMaker1", tr("Faultward error-handling assistant"), 0, 17, true);
    makeMakerLine(panel, "lblMaker2", tr("for Visual Basic 5 projects"), 16, 17, true);
    makeMakerLine(panel, "lblMaker3", tr("Written by the Faultward developers"), 32, 17, true);
    makeMakerLine(panel, "lblMaker4", tr("Free to use, share and change"), 48, 17, true);
    makeMakerLine(panel, "lblRights", tr("\u00A9 Faultward developers. All rights reserved."), 72,
                  23, false);

    QPushButton* close = makeButton(panel, 1, tr("Close"), 0);
    QPushButton* sysInfo = makeButton(panel, 2, tr("&System Info..."), 40);
    connect(close, &QPushButton::clicked, this, [this] { cmd_abt_Click(1); });
    connect(sysInfo, &QPushButton::clicked, this, [this] { cmd_abt_Click(2); });
    setTabOrder(sysInfo, close);
    sysInfo->setFocus();
}

void frmAbout::Form_Load() {
    setWindowTitle(QString::fromStdString(aboutCaption()));
    lblVersion_->setText(
        QString::fromStdString(versionText(kVersionMajor, kVersionMinor, kVersionRevision)));
    lblTitle_->setText(QString::fromUtf8(kProductName));
}

void frmAbout::cmd_abt_Click(int index) {
    if (index == 1)
        close();
    else if (index == 2)
        StartSysInfo();
}

void frmAbout::StartSysInfo() {
    about::StartSysInfo(platform_);
}

} // namespace faultward::about

namespace faultward {

about::frmAbout* AboutBox::show(const QWidget* over) {
    const bool loading = !window_;
    if (loading) {
        window_ = new about::frmAbout(platform_);
        placeOver(*window_, over);
    }
    window_->show();
    // Shown, the window has its frame; a second look centres the frame.
    if (loading)
        placeOver(*window_, over);
    window_->raise();
    window_->activateWindow();
    return window_;
}

} // namespace faultward

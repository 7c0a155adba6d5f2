#include "ui/frmAbout.h"

#include "app/desktop/about_buttons.h"
#include "app/desktop/layout.h"
#include "app/texts/texts.h"
#include "ui/twips.h"
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
    font.setPointSizeF(kAboutPanelFont.points);
    font.setBold(bold);
    return font;
}

QLabel* makeMakerLine(QWidget* panel, const MakerLine& line) {
    auto* label = new QLabel(QString::fromUtf8(line.text), panel);
    label->setObjectName(line.name);
    label->setFont(dialogFont(line.bold));
    label->setGeometry(twipsRect(line.place));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* makeButton(QWidget* panel, const AboutButton& about) {
    auto* button = new QPushButton(QString::fromUtf8(about.caption), panel);
    button->setObjectName(QStringLiteral("cmd_abt_%1").arg(about.index));
    button->setGeometry(twipsRect(about.place));
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
    setFixedSize(twips(kAboutClientWidth), twips(kAboutClientHeight));
    buildControls();
    Form_Load();
}

void frmAbout::buildControls() {
    picIcon_ = new QLabel(this);
    picIcon_->setObjectName("picIcon");
    picIcon_->setGeometry(twipsRect(kAboutIcon));
    picIcon_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picIcon_->setPixmap(QApplication::windowIcon().pixmap(32, 32));

    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName("lblTitle");
    lblTitle_->setGeometry(twipsRect(kAboutTitle));
    lblTitle_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont titleFont(QString::fromUtf8(kAboutTitleFont.face));
    titleFont.setPointSizeF(kAboutTitleFont.points);
    titleFont.setBold(kAboutTitleFont.bold);
    lblTitle_->setFont(titleFont);
    QPalette titlePalette = lblTitle_->palette();
    titlePalette.setColor(QPalette::WindowText, Qt::black);
    lblTitle_->setPalette(titlePalette);

    lblVersion_ = new QLabel(this);
    lblVersion_->setObjectName("lblVersion");
    lblVersion_->setGeometry(twipsRect(kAboutVersion));
    lblVersion_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    makeRule(this, 1, QColor(128, 128, 128), twipsRect(kAboutRuleGrey));
    makeRule(this, 0, Qt::white, twipsRect(kAboutRuleWhite));

    auto* panel = new QWidget(this);
    panel->setObjectName("Picture1");
    panel->setGeometry(twipsRect(kAboutPanel));
    for (const MakerLine& line : kMakerLines)
        makeMakerLine(panel, line);

    QPushButton* close = makeButton(panel, kAboutCloseButton);
    QPushButton* sysInfo = makeButton(panel, kAboutSysInfoButton);
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
    about::cmd_abt_Click(index, platform_, [this] { close(); });
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

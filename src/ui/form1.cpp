#include "form1.h"

#include "list_entries.h"
#include "mdi_form1.h"
#include "module1.h"
#include "pass_feedback.h"
#include "path_label.h"
#include "picture_button.h"
#include "pointer.h"
#include "twips.h"

#include <QListWidget>
#include <QProgressBar>

namespace faultward {
namespace {

struct ToolButton {
    int index;
    const char* caption;
    const char* tooltip; // empty: none
    const char* picture;
    QRect geometry;
};

const ToolButton kToolButtons[] = {
    {0, "Open Visual Basic Project", "", ":/buttons/open.png", twipsRect(0, 0, 1095, 855)},
    {2, "Insert Error- Handling Code", "Insert Error Handling Code", ":/buttons/insert.png",
     twipsRect(1080, 0, 1215, 855)},
    {4, "Remove Error- Handling Code", "Remove Error Handling Code", ":/buttons/remove.png",
     twipsRect(2280, 0, 1215, 855)},
    {7, "Help", "Help", ":/buttons/help.png", twipsRect(3480, 0, 1215, 855)},
};

QWidget* makeLine(QWidget* parent, const char* name, QRect geometry, QPalette::ColorRole colour) {
    auto* line = new QWidget(parent);
    line->setObjectName(QString::fromUtf8(name));
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, palette.color(colour));
    line->setPalette(palette);
    return line;
}

} // namespace

Form1::Form1(MDIForm1& main, Module1& module, QWidget* parent)
    : QWidget(parent), main_(main), module_(module) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Faultward"));
    setFixedSize(twips(4740), twips(4695));
    // The layout was made for 8-point text; larger text would not fit it.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);

    // The etched rule first, so the tool row covers it where they meet.
    createRule();
    createToolRow();

    label_ = new PathLabel(QStringLiteral("Project Files:"), this);
    label_->setObjectName(QStringLiteral("lbl_proh"));
    label_->setGeometry(twipsRect(120, 960, 4455, 255));
    QFont labelFont = label_->font();
    labelFont.setPointSizeF(8.25);
    labelFont.setBold(true);
    label_->setFont(labelFont);
    // Top-aligned, the text lies wholly under the progress bar while it shows.
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette labelPalette = label_->palette();
    labelPalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label_->setPalette(labelPalette);

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setGeometry(twipsRect(130, 910, 4420, 240));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->hide();

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setGeometry(twipsRect(120, 1200, 4455, 2760));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);

    const char* selectCaptions[] = {"Select All", "Select None"};
    const QRect selectGeometry[] = {twipsRect(960, 4080, 1095, 375),
                                    twipsRect(2400, 4080, 1095, 375)};
    QWidget* previous = toolButtons_.at(7);
    setTabOrder(previous, list_);
    previous = list_;
    for (int index = 0; index < 2; ++index) {
        auto* button = new QPushButton(QString::fromUtf8(selectCaptions[index]), this);
        button->setObjectName(QStringLiteral("cmd_sel_%1").arg(index));
        button->setGeometry(selectGeometry[index]);
        connect(button, &QPushButton::clicked, this, [this, index] { cmd_sel_Click(index); });
        setTabOrder(previous, button);
        previous = button;
    }
}

void Form1::createRule() {
    makeLine(this, "Line1_0", QRect(0, twips(840), twips(5160), 1), QPalette::WindowText);
    makeLine(this, "Line1_1", QRect(0, twips(855), twips(5160), 1), QPalette::Base);
}

void Form1::createToolRow() {
    QList<PictureButton*> buttons;
    QWidget* previous = nullptr;
    for (const ToolButton& tool : kToolButtons) {
        auto* button = new PictureButton(QString::fromUtf8(tool.caption),
                                         QString::fromUtf8(tool.picture), this);
        button->setObjectName(QStringLiteral("cmd_tbl_%1").arg(tool.index));
        button->setGeometry(tool.geometry);
        if (*tool.tooltip)
            button->setToolTip(QString::fromUtf8(tool.tooltip));
        // Insert and Remove wait for a project to be read.
        button->setEnabled(tool.index == 0 || tool.index == 7);
        const int index = tool.index;
        connect(button, &QPushButton::clicked, this, [this, index] { cmd_tbl_Click(index); });
        if (previous)
            setTabOrder(previous, button);
        previous = button;
        toolButtons_[tool.index] = button;
        buttons << button;
    }
    // One caption size for the whole row, the largest in which every caption fits.
    const QFont captionFont = fittingCaptionFont(buttons, font());
    for (PictureButton* button : buttons)
        button->setFont(captionFont);
}

void Form1::cmd_tbl_Click(int Index) {
    main_.cmd_nav(Index);
}

void Form1::cmd_sel_Click(int Index) {
    showBusyPointer();
    const int count = list_->count();
    for (int i = 0; i < count; ++i)
        list_->item(i)->setCheckState(Index == 0 ? Qt::Checked : Qt::Unchecked);
    showDefaultPointer();
}

std::filesystem::path Form1::baseFolder() const {
    if (!projectFolder_.empty())
        return projectFolder_;
    std::error_code error;
    return std::filesystem::current_path(error);
}

void Form1::Remove_ErrH(FailureCollector* failures) {
    const std::vector<ListEntry> entries = listEntries(*list_);
    PassFeedback feedback(*this, main_, failures, watcher_);
    runRemovalPass(entries, baseFolder(), feedback);
}

void Form1::Insert_ErrH(FailureCollector* failures) {
    const std::vector<ListEntry> entries = listEntries(*list_);
    PassFeedback feedback(*this, main_, failures, watcher_);
    runInsertionPass(entries, baseFolder(), module_.Error_Flag, feedback);
}

} // namespace faultward

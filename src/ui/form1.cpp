#include "ui/form1.h"

#include "app/desktop/layout.h"
#include "app/desktop/main_window_logic.h"
#include "app/desktop/project_files_logic.h"
#include "app/desktop/tool_row_rules.h"
#include "app/desktop/window_layout.h"
#include "app/texts/texts.h"
#include "ui/mdi_form1.h"
#include "ui/path_label.h"
#include "ui/picture_button.h"
#include "ui/project_files_tree.h"
#include "ui/twips.h"

#include <QFile>
#include <QProgressBar>
#include <QResizeEvent>

#include <algorithm>

namespace faultward {
namespace {

QWidget* makeLine(QWidget* parent, const char* name, QPalette::ColorRole colour) {
    auto* line = new QWidget(parent);
    line->setObjectName(QString::fromUtf8(name));
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, palette.color(colour));
    line->setPalette(palette);
    return line;
}

void place(QWidget& part, const QRect& first, Anchor anchor, Growth growth) {
    const ScreenRect grown =
        grownPlace({first.x(), first.y(), first.width(), first.height()}, anchor, growth);
    part.setGeometry(grown.left, grown.top, grown.width, grown.height);
}

} // namespace

Form1::Form1(MDIForm1& main, QWidget* parent) : QWidget(parent), main_(main) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kProductName));
    setMinimumSize(twips(kFilesWidth), twips(kFilesHeight));
    resize(minimumSize());
    // The layout was made for 8-point text; larger text would not fit it.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);

    // The etched rule first, so the tool row covers it where they meet.
    createRule();
    createToolRow();

    label_ = new PathLabel(QString::fromUtf8(kProjectFilesLabel), this);
    label_->setObjectName(QStringLiteral("lbl_proh"));
    QFont labelFont = label_->font();
    labelFont.setPointSizeF(kProjectLabelFont.points);
    labelFont.setBold(kProjectLabelFont.bold);
    label_->setFont(labelFont);
    // Top-aligned, the text lies wholly under the progress bar while it shows.
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette labelPalette = label_->palette();
    labelPalette.setColor(
        QPalette::WindowText,
        QColor(kProjectLabelColour[0], kProjectLabelColour[1], kProjectLabelColour[2]));
    label_->setPalette(labelPalette);

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->hide();

    list_ = new ProjectFilesTree(this);
    list_->setObjectName(QStringLiteral("List1"));
    connect(list_, &ProjectFilesTree::entryTicked, this,
            [this](int entry, bool ticked) { main_.projectFiles().setSelected(entry, ticked); });
    connect(list_, &ProjectFilesTree::entryOpened, this,
            [this](int entry) { main_.projectFiles().expandEntry(entry); });
    connect(list_, &ProjectFilesTree::procedureTicked, this,
            [this](int entry, int procedure, bool ticked) {
                main_.projectFiles().setProcedureSelected(entry, procedure, ticked);
            });
    setTabOrder(toolButtons_.at(7), list_);
    createSelectButtons();
    placeParts();
}

void Form1::createRule() {
    ruleLines_[0] = makeLine(this, "Line1_0", QPalette::WindowText);
    ruleLines_[1] = makeLine(this, "Line1_1", QPalette::Base);
}

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The select buttons are made last.
    if (!selectButtons_.empty())
        placeParts();
}

void Form1::placeParts() {
    const Growth growth = growthBeyond(width(), height(), twips(kFilesWidth), twips(kFilesHeight));
    place(*ruleLines_[0], QRect(0, twips(kRuleDarkTop), twips(kRuleLength), 1), kRuleAnchor,
          growth);
    place(*ruleLines_[1], QRect(0, twips(kRuleLightTop), twips(kRuleLength), 1), kRuleAnchor,
          growth);
    for (const ToolButton& tool : kToolButtons)
        place(*toolButtons_.at(tool.index), twipsRect(tool.left, tool.top, tool.width, tool.height),
              kToolRowAnchor, growth);
    place(*label_, twipsRect(kProjectLabel), kProjectLabelAnchor, growth);
    place(*progressBar_, twipsRect(kProgressBar), kProgressBarAnchor, growth);
    place(*list_, twipsRect(kFileList), kFileListAnchor, growth);
    for (const SelectButton& select : kSelectButtons)
        place(*selectButtons_.at(select.index),
              twipsRect(select.left, select.top, select.width, select.height), kSelectButtonsAnchor,
              growth);
}

void Form1::createToolRow() {
    QList<PictureButton*> buttons;
    QWidget* previous = nullptr;
    for (const ToolButton& tool : kToolButtons) {
        auto* button =
            new PictureButton(QString::fromUtf8(tool.caption),
                              QStringLiteral(":/buttons/%1.png").arg(tool.picture), this);
        button->setObjectName(QStringLiteral("cmd_tbl_%1").arg(tool.index));
        // Placed now: the caption's size is worked out from it.
        button->setGeometry(twipsRect(tool.left, tool.top, tool.width, tool.height));
        if (*tool.tooltip)
            button->setToolTip(QString::fromUtf8(tool.tooltip));
        button->setEnabled(enabledBeforeAnyProject(tool));
        const int index = tool.index;
        connect(button, &QPushButton::clicked, this, [this, index] { cmd_tbl_Click(index); });
        if (previous)
            setTabOrder(previous, button);
        previous = button;
        toolButtons_[tool.index] = button;
        buttons << button;
    }
    QFont captionFont = font();
    captionFont.setPointSizeF(toolCaptionPoints([&](double points) {
        QFont tried = font();
        tried.setPointSizeF(points);
        return std::all_of(buttons.begin(), buttons.end(),
                           [&](const PictureButton* button) { return button->fitsIn(tried); });
    }));
    for (PictureButton* button : buttons)
        button->setFont(captionFont);
}

void Form1::createSelectButtons() {
    QWidget* previous = list_;
    for (const SelectButton& select : kSelectButtons) {
        auto* button = new QPushButton(QString::fromUtf8(select.caption), this);
        button->setObjectName(QStringLiteral("cmd_sel_%1").arg(select.index));
        selectButtons_[select.index] = button;
        const int index = select.index;
        connect(button, &QPushButton::clicked, this, [this, index] { cmd_sel_Click(index); });
        setTabOrder(previous, button);
        previous = button;
    }
}

void Form1::cmd_tbl_Click(int Index) {
    main_.logic().cmd_nav(commandOfNumber(Index));
}

void Form1::cmd_sel_Click(int Index) {
    main_.projectFiles().cmd_sel_Click(Index);
}

void Form1::showEntries(std::span<const ListEntry> entries) {
    list_->showEntries(entries);
}

void Form1::setEntrySelected(int index, bool selected) {
    list_->setEntrySelected(index, selected);
}

void Form1::setCurrentEntry(int index) {
    list_->setCurrentEntry(index);
    if (index >= 0)
        main_.paintWhileBusy();
}

void Form1::showProcedures(int entry, std::span<const ProcedureRow> rows) {
    list_->showProcedures(entry, rows);
}

void Form1::focusList() {
    list_->takeFocus();
}

void Form1::setProjectLabel(std::string_view projectPath) {
    label_->setPath(QFile::decodeName(
        QByteArray(projectPath.data(), static_cast<qsizetype>(projectPath.size()))));
}

void Form1::enableInsertAndRemove() {
    for (int index : kEnabledByProject)
        toolButtons_.at(index)->setEnabled(true);
}

void Form1::setProgressRange(int minimum, int maximum) {
    progressBar_->setRange(minimum, maximum);
}

void Form1::setProgressValue(int value) {
    // A progress bar paints itself at once when its value shows a change; the
    // window decides when to paint instead.
    progressBar_->setUpdatesEnabled(false);
    progressBar_->setValue(value);
    progressBar_->setUpdatesEnabled(true);
    main_.paintWhileBusy();
}

void Form1::setProgressVisible(bool visible) {
    progressBar_->setVisible(visible);
    if (visible)
        progressBar_->raise();
}

} // namespace faultward

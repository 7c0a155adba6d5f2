#include "ui/handler_settings_window.h"

#include "app/desktop/handler_settings_captions.h"
#include "app/desktop/handler_settings_dialog.h"
#include "ui/dialog_frame.h"
#include "ui/message_boxes.h"
#include "ui/path_text.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <functional>

namespace faultward {
namespace {

QString captionOf(SettingsControl control) {
    const std::string_view caption = settingsCaption(control);
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

QCheckBox* addCheckBox(QLayout* layout, const char* name, SettingsControl control, bool checked,
                       std::function<void(bool)> changed) {
    auto* box = new QCheckBox(captionOf(control));
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    QObject::connect(box, &QCheckBox::toggled, box, std::move(changed));
    layout->addWidget(box);
    return box;
}

} // namespace

HandlerSettingsWindow::HandlerSettingsWindow(HandlerSettingsDialog& dialog, MessageBoxes& messages,
                                             QWidget* parent)
    : QDialog(parent, kFixedDialogFrame), dialog_(dialog), messages_(messages) {
    setObjectName(QStringLiteral("frmHandlerSettings"));
    setWindowTitle(QString::fromUtf8(kHandlerSettingsTitle.data(),
                                     static_cast<qsizetype>(kHandlerSettingsTitle.size())));
    const HandlerSettings& current = dialog.settings();

    auto* procedures = new QGroupBox(captionOf(SettingsControl::ProceduresGroup));
    procedures->setObjectName(QStringLiteral("fra_procedures"));
    auto* procedureRows = new QVBoxLayout(procedures);
    const auto procedureBox = [&](const char* name, SettingsControl control, ProcedureKind kind) {
        addCheckBox(procedureRows, name, control, current.procedures.has(kind),
                    [this, kind](bool on) { dialog_.setProcedureKind(kind, on); });
    };
    procedureBox("chk_proc_sub", SettingsControl::Sub, ProcedureKind::Sub);
    procedureBox("chk_proc_function", SettingsControl::Function, ProcedureKind::Function);
    procedureBox("chk_proc_property", SettingsControl::Property, ProcedureKind::Property);
    procedureRows->addStretch();

    auto* files = new QGroupBox(captionOf(SettingsControl::FilesGroup));
    files->setObjectName(QStringLiteral("fra_files"));
    auto* fileRows = new QVBoxLayout(files);
    const auto fileBox = [&](const char* name, SettingsControl control, SourceKind kind) {
        addCheckBox(fileRows, name, control, current.files.has(kind),
                    [this, kind](bool on) { dialog_.setSourceKind(kind, on); });
    };
    fileBox("chk_file_frm", SettingsControl::Forms, SourceKind::Form);
    fileBox("chk_file_bas", SettingsControl::Modules, SourceKind::Module);
    fileBox("chk_file_cls", SettingsControl::Classes, SourceKind::Class);
    fileBox("chk_file_ctl", SettingsControl::UserControls, SourceKind::UserControl);
    fileBox("chk_file_doc", SettingsControl::Documents, SourceKind::Document);

    // Below both groups: they change how the chosen procedures are written.
    auto* writing = new QVBoxLayout;
    addCheckBox(writing, "chk_skip_handled", SettingsControl::SkipHandled, current.skipHandled,
                [this](bool on) { dialog_.setSkipHandled(on); });
    addCheckBox(writing, "chk_line_numbers", SettingsControl::LineNumbers, current.lineNumbers,
                [this](bool on) { dialog_.setLineNumbers(on); });

    auto* handler = new QGroupBox(captionOf(SettingsControl::HandlerGroup));
    handler->setObjectName(QStringLiteral("fra_handler"));
    auto* handlerRows = new QVBoxLayout(handler);
    auto* modeChoice = new QRadioButton(captionOf(SettingsControl::ModeChoice));
    modeChoice->setObjectName(QStringLiteral("opt_handler_mode"));
    templateChoice_ = new QRadioButton(captionOf(SettingsControl::TemplateChoice));
    templateChoice_->setObjectName(QStringLiteral("opt_handler_template"));
    (current.handler == HandlerSource::Template ? templateChoice_ : modeChoice)->setChecked(true);
    connect(modeChoice, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            handlerSourceChosen(HandlerSource::Mode);
    });
    connect(templateChoice_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            handlerSourceChosen(HandlerSource::Template);
    });
    templateField_ = new QLineEdit(pathText(current.templatePath));
    templateField_->setObjectName(QStringLiteral("txt_template"));
    templateField_->setAccessibleName(QStringLiteral("Template file"));
    // Only typing replaces the path: the stored bytes stay as they are while
    // the field shows them, whatever their encoding.
    connect(templateField_, &QLineEdit::textEdited, this,
            [this](const QString& text) { dialog_.setTemplatePath(pathBytes(text)); });
    browse_ = new QPushButton(captionOf(SettingsControl::Browse));
    browse_->setObjectName(QStringLiteral("cmd_browse"));
    browse_->setAutoDefault(false);
    connect(browse_, &QPushButton::clicked, this, &HandlerSettingsWindow::browseClicked);
    enableTemplateRow();
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(templateField_, 1);
    pathRow->addWidget(browse_);
    handlerRows->addWidget(modeChoice);
    handlerRows->addWidget(templateChoice_);
    handlerRows->addLayout(pathRow);

    // Where the settings are kept, once there is a project to keep them with.
    auto* keep = new QCheckBox(QString::fromStdString(dialog.keepWithProjectCaption()));
    keep->setObjectName(QStringLiteral("chk_keep_with_project"));
    keep->setChecked(dialog.keepWithProject());
    if (dialog.keepWithProjectCaption().empty())
        keep->hide();
    connect(keep, &QCheckBox::toggled, this, [this](bool on) { dialog_.setKeepWithProject(on); });

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok =
        buttons->addButton(captionOf(SettingsControl::Ok), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmd_ok"));
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(captionOf(SettingsControl::Cancel), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmd_cancel"));
    QPushButton* help =
        buttons->addButton(captionOf(SettingsControl::Help), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("cmd_help"));
    for (QPushButton* button : {cancel, help})
        button->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &HandlerSettingsWindow::okClicked);
    connect(cancel, &QPushButton::clicked, this, &HandlerSettingsWindow::reject);
    connect(help, &QPushButton::clicked, this, [this] { dialog_.help(); });
    // F1 here opens the section on these settings, before the program-wide
    // key would open the help's first page.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f1, &QShortcut::activated, this, [this] { dialog_.help(); });

    // Sizes come from the layout, so the dialog grows with the font and the
    // screen's scale.
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(procedures, 1);
    kinds->addWidget(files, 1);
    auto* rows = new QVBoxLayout(this);
    rows->addLayout(kinds);
    rows->addLayout(writing);
    rows->addWidget(handler);
    rows->addWidget(keep);
    rows->addWidget(buttons);
    rows->setSizeConstraint(QLayout::SetFixedSize);
}

void HandlerSettingsWindow::okClicked() {
    if (const std::optional<std::string> problem = dialog_.ok()) {
        messages_.showMessage(this, QString::fromStdString(*problem), MessageIcon::Warning);
        return;
    }
    accept();
}

void HandlerSettingsWindow::reject() {
    dialog_.cancel();
    QDialog::reject();
}

void HandlerSettingsWindow::handlerSourceChosen(HandlerSource source) {
    dialog_.setHandlerSource(source);
    enableTemplateRow();
}

void HandlerSettingsWindow::enableTemplateRow() {
    const bool enabled = dialog_.templatePathEnabled();
    templateField_->setEnabled(enabled);
    browse_->setEnabled(enabled);
}

void HandlerSettingsWindow::browseClicked() {
    const std::optional<std::string> chosen = dialog_.browse();
    if (!chosen)
        return;
    templateField_->setText(pathText(*chosen));
    templateChoice_->setChecked(true);
}

} // namespace faultward

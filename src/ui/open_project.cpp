#include "form1.h"
#include "list_entries.h"
#include "mdi_form1.h"
#include "module1.h"
#include "path_label.h"
#include "project_reader.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>

namespace faultward {
namespace {

const QString kProjectFilter =
    QStringLiteral("All Files (*.*)|*.*|Visual Basic Project Files(*.vbp)|*.vbp");
constexpr int kProjectFilterIndex = 2;

} // namespace

void MDIForm1::Open_Project() {
    // Clears what a pass left in the caption.
    setWindowTitle(QStringLiteral("Faultward"));

    const std::optional<QString> chosen = fileDialog_->askOpenFile(
        this, {QFile::decodeName(QByteArray::fromStdString(module_.Project_File)), kProjectFilter,
               kProjectFilterIndex});
    if (!chosen)
        return;

    // Kept even when the file cannot be read, so the next dialog starts there.
    module_.Project_File = QFile::encodeName(*chosen).toStdString();
    // Relative entries name files in the project's folder; it also becomes the
    // current folder, as the file dialog always left it.
    const std::filesystem::path folder = std::filesystem::path(module_.Project_File).parent_path();
    std::error_code error;
    std::filesystem::current_path(folder, error);
    form1_->setProjectFolder(folder);

    QListWidget& list = form1_->List1();
    list.clear();
    const ProjectRead project = readProjectFile(module_.Project_File);
    if (project.status != ProjectReadStatus::Ok) {
        // The empty list alone would leave the user guessing why.
        messageBoxes_->showMessage(
            this,
            QFile::decodeName(QByteArray::fromStdString(
                describeProjectFailure(project.status, module_.Project_File))),
            MessageIcon::Warning);
        return;
    }
    for (const std::string& entry : project.entries)
        addSortedEntry(list, entry);

    form1_->lbl_proh().setPath(QFile::decodeName(QByteArray::fromStdString(module_.Project_File)));
    const int count = list.count();
    for (int i = 0; i < count; ++i)
        list.item(i)->setCheckState(Qt::Checked);
    form1_->cmd_tbl(2).setEnabled(true);
    form1_->cmd_tbl(4).setEnabled(true);
    list.setCurrentRow(-1);
}

} // namespace faultward

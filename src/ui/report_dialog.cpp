#include "ui/report_dialog.h"

#include "app/desktop/report_window.h"
#include "ui/report_text_view.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace faultward {
namespace {

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const char* buttonName(ReportButton button) {
    switch (button) {
    case ReportButton::Insert:
        return "cmd_insert";
    case ReportButton::SaveAs:
        return "cmd_save_as";
    default:
        return "cmd_close";
    }
}

} // namespace

ReportDialog::ReportDialog(ReportWindow& window, QWidget* parent)
    : QDialog(parent), window_(window) {
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(utf8(window.title()));
    setSizeGripEnabled(true);

    text_ = new ReportTextView;
    text_->setObjectName(QStringLiteral("txt_report"));
    text_->showReport(window.text(), window.lines());

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    for (const ReportButton button : window.buttons()) {
        auto* push = new QPushButton(utf8(ReportWindow::caption(button)));
        push->setObjectName(QLatin1String(buttonName(button)));
        push->setAutoDefault(false);
        connect(push, &QPushButton::clicked, this, [this, button] {
            if (window_.press(button))
                accept();
        });
        buttonRow->addWidget(push);
    }

    auto* rows = new QVBoxLayout(this);
    rows->addWidget(text_, 1);
    rows->addLayout(buttonRow);

    // About a hundred columns by forty lines of the fixed font, within the screen.
    const QFontMetrics metrics(text_->font());
    QSize size(metrics.horizontalAdvance(QLatin1Char('0')) * 100, metrics.lineSpacing() * 40);
    if (const QScreen* screen = parent ? parent->screen() : nullptr)
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size);
    text_->setFocus();
}

void ReportDialog::reject() {
    if (window_.press(ReportButton::Close))
        QDialog::reject();
}

} // namespace faultward

#include "ui/report_dialog.h"

#include "app/report_window.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
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

QString reportText(std::string_view bytes) {
    // Windows-1252 where it differs from Latin-1; the five bytes it leaves
    // undefined keep their Latin-1 control characters.
    static constexpr char16_t kHighControls[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString shown(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = shown.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code == '\r')
            continue;
        *out++ = code >= 0x80 && code < 0xA0 ? QChar(kHighControls[code - 0x80])
                                             : QChar(static_cast<char16_t>(code));
    }
    shown.truncate(out - shown.data());
    return shown;
}

ReportDialog::ReportDialog(ReportWindow& window, QWidget* parent)
    : QDialog(parent), window_(window) {
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(utf8(window.title()));
    setSizeGripEnabled(true);

    text_ = new QPlainTextEdit;
    text_->setObjectName(QStringLiteral("txt_report"));
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setWordWrapMode(QTextOption::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setUndoRedoEnabled(false);
    // One call fills the document: appending line by line would lay out the
    // text again for each of a large project's lines.
    text_->setPlainText(reportText(window.text()));

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

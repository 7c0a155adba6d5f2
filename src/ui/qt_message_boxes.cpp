#include "ui/message_boxes.h"

#include "app/message_details.h"
#include "ui/report_text_view.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace faultward {
namespace {

// The lines the details show before they scroll.
constexpr int kDetailsLinesShown = 12;

class QtMessageBoxes : public MessageBoxes {
public:
    void showMessage(QWidget* parent, const QString& text, MessageIcon icon,
                     const QString& details) override {
        std::unique_ptr<QDialog> box;
        if (details.isEmpty()) {
            auto plain = std::make_unique<QMessageBox>(
                icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                QStringLiteral("Faultward"), text, QMessageBox::Ok, parent);
            // Names in a message are worth copying into a search or a ticket.
            plain->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                           Qt::TextSelectableByKeyboard);
            box = std::move(plain);
        } else {
            box = makeDetailsBox(parent, text, icon, details);
        }
        // A pass may be holding the wait pointer; the box itself wants the arrow.
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        box->exec();
        QApplication::restoreOverrideCursor();
    }
};

} // namespace

std::unique_ptr<QDialog> makeDetailsBox(QWidget* parent, const QString& text, MessageIcon icon,
                                        const QString& details) {
    auto box = std::make_unique<QDialog>(parent);
    box->setObjectName(QStringLiteral("frmDetails"));
    box->setWindowTitle(QStringLiteral("Faultward"));
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
    auto* grid = new QGridLayout(box.get());

    if (icon == MessageIcon::Warning) {
        auto* picture = new QLabel;
        const int side =
            box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box.get());
        picture->setPixmap(box->style()
                               ->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, box.get())
                               .pixmap(side));
        grid->addWidget(picture, 0, 0, Qt::AlignTop);
    }
    const QByteArray utf8 = text.toUtf8();
    const std::string_view lead = leadParagraph(std::string_view(utf8.data(), utf8.size()));
    auto* label = new QLabel(QString::fromUtf8(lead.data(), static_cast<qsizetype>(lead.size())));
    label->setObjectName(QStringLiteral("lbl_text"));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    grid->addWidget(label, 0, 1);

    // Every line whole, as many as fit before the box scrolls.
    auto* view = new ReportTextView;
    view->setObjectName(QStringLiteral("txt_details"));
    view->showPlainText(details.endsWith(QLatin1Char('\n')) ? details.chopped(1) : details);
    const QFontMetrics metrics(view->font());
    const int lines = std::clamp(static_cast<int>(view->blockCount()), 1, kDetailsLinesShown);
    const int frame =
        2 * view->frameWidth() + 2 * static_cast<int>(view->document()->documentMargin());
    view->setMinimumHeight(lines * metrics.lineSpacing() + frame);
    view->setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('0')) * 60);
    grid->addWidget(view, 1, 0, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, box.get(), &QDialog::accept);
    grid->addWidget(buttons, 2, 0, 1, 2);
    grid->setRowStretch(1, 1);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
    return box;
}

std::unique_ptr<MessageBoxes> makeQtMessageBoxes() {
    return std::make_unique<QtMessageBoxes>();
}

} // namespace faultward

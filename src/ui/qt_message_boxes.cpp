#include "ui/message_boxes.h"

#include "app/reports/message_details.h"
#include "ui/dialog_frame.h"
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

// The lines and columns the details show before they scroll.
constexpr std::size_t kDetailsLinesShown = 12;
constexpr std::size_t kDetailsColumnsShown = 100;

class QtMessageBoxes : public MessageBoxes {
public:
    void showMessage(QWidget* parent, const QString& text, MessageIcon icon,
                     const QString& details) override {
        show(parent, text, icon, details, {});
    }
    bool showMessageWithChoice(QWidget* parent, const QString& text, MessageIcon icon,
                               const QString& details, const QString& choice) override {
        return show(parent, text, icon, details, choice);
    }

private:
    static bool show(QWidget* parent, const QString& text, MessageIcon icon, const QString& details,
                     const QString& choice) {
        std::unique_ptr<QDialog> box;
        if (details.isEmpty()) {
            auto plain = std::make_unique<QMessageBox>(
                icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                QStringLiteral("Faultward"), text, QMessageBox::Ok, parent, kFixedDialogFrame);
            // Names in a message are worth copying into a search or a ticket.
            plain->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                           Qt::TextSelectableByKeyboard);
            if (!choice.isEmpty())
                QObject::connect(plain->addButton(choice, QMessageBox::AcceptRole),
                                 &QPushButton::clicked, plain.get(),
                                 [dialog = plain.get()] { dialog->done(kChoiceResult); });
            box = std::move(plain);
        } else {
            box = makeDetailsBox(parent, text, icon, details, choice);
        }
        // A pass may be holding the wait pointer; the box itself wants the arrow.
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const int result = box->exec();
        QApplication::restoreOverrideCursor();
        return result == kChoiceResult;
    }

    bool askYesNo(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Faultward"), text,
                        QMessageBox::Yes | QMessageBox::No, parent, kFixedDialogFrame);
        box.setDefaultButton(QMessageBox::No);
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const int answer = box.exec();
        QApplication::restoreOverrideCursor();
        return answer == QMessageBox::Yes;
    }
};

} // namespace

std::unique_ptr<QDialog> makeDetailsBox(QWidget* parent, const QString& text, MessageIcon icon,
                                        const QString& details, const QString& choice) {
    auto box = std::make_unique<QDialog>(parent);
    box->setObjectName(QStringLiteral("frmDetails"));
    box->setWindowTitle(QStringLiteral("Faultward"));
    box->setWindowFlags(kFixedDialogFrame);
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
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    grid->addWidget(label, 0, 1);

    // Every line whole: the box as wide as the widest line and as high as
    // its lines, up to a limit each, then it scrolls.
    auto* view = new ReportTextView;
    view->setObjectName(QStringLiteral("txt_details"));
    const QString shown = details.endsWith(QLatin1Char('\n')) ? details.chopped(1) : details;
    view->showPlainText(shown);
    const std::size_t widest = view->model().widestCells();
    const std::size_t lines = view->lineCount();
    const int bar = box->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    const bool wide = widest > kDetailsColumnsShown;
    const bool tall = lines > kDetailsLinesShown;
    const QSize size = view->sizeForCells(
        static_cast<int>(std::clamp<std::size_t>(widest, 40, kDetailsColumnsShown)),
        static_cast<int>(std::min<std::size_t>(lines, kDetailsLinesShown)));
    view->setFixedSize(size.width() + (tall ? bar : 0), size.height() + (wide ? bar : 0));
    // A bar only where the lines do not fit: the sizes above leave no doubt.
    view->setHorizontalScrollBarPolicy(wide ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(tall ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    grid->addWidget(view, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, box.get(), &QDialog::accept);
    if (!choice.isEmpty()) {
        QPushButton* chosen = buttons->addButton(choice, QDialogButtonBox::ActionRole);
        chosen->setObjectName(QStringLiteral("cmd_choice"));
        QObject::connect(chosen, &QPushButton::clicked, box.get(),
                         [dialog = box.get()] { dialog->done(kChoiceResult); });
    }
    grid->addWidget(buttons, 2, 0, 1, 2);
    // As the system's message boxes: the size of what they hold.
    grid->setSizeConstraint(QLayout::SetFixedSize);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
    return box;
}

std::unique_ptr<MessageBoxes> makeQtMessageBoxes() {
    return std::make_unique<QtMessageBoxes>();
}

} // namespace faultward
